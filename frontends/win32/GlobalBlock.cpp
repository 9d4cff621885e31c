#include "GlobalBlock.h"

#include <cstring>
#include <cwchar>
#include <utility>

namespace twk::win32 {

UnicodeBlock unicodeBlock(std::wstring_view units)
{
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, (units.size() + 1) * sizeof(wchar_t)));
    auto* into = block ? static_cast<wchar_t*>(GlobalLock(block.get())) : nullptr;
    if (!into)
        return {};
    std::memcpy(into, units.data(), units.size() * sizeof(wchar_t));
    into[units.size()] = L'\0';
    GlobalUnlock(block.get());
    return {std::move(block), units.size()};
}

LockedUnicode::LockedUnicode(HGLOBAL block) : block_(block)
{
    units_ = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    // An owner may leave the NUL out: the block's end ends the text then.
    if (units_)
        length_ = wcsnlen(units_, GlobalSize(block) / sizeof(wchar_t));
}

LockedUnicode::LockedUnicode(const UnicodeBlock& ours) : block_(ours.block.get())
{
    units_ = block_ ? static_cast<const wchar_t*>(GlobalLock(block_)) : nullptr;
    if (units_)
        length_ = ours.length;
}

LockedUnicode::~LockedUnicode()
{
    if (units_)
        GlobalUnlock(block_);
}

} // namespace twk::win32
