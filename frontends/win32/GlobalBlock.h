#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

namespace twk::win32 {

// A movable global memory block, the form clipboard data takes: freed at the
// end unless handed to the clipboard (release()).
class GlobalBlock {
public:
    GlobalBlock() = default;
    explicit GlobalBlock(HGLOBAL block) : block_(block) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(GlobalBlock&& other) noexcept : block_(other.release()) {}
    GlobalBlock& operator=(GlobalBlock&& other) noexcept
    {
        GlobalBlock(std::move(other)).swap(*this);
        return *this;
    }

    explicit operator bool() const { return block_ != nullptr; }
    HGLOBAL get() const { return block_; }
    HGLOBAL release() { return std::exchange(block_, nullptr); }
    void swap(GlobalBlock& other) noexcept { std::swap(block_, other.block_); }

private:
    HGLOBAL block_ = nullptr;
};

// A block of UTF-16 text of our own, as CF_UNICODETEXT takes it: `length`
// units, then a NUL.
struct UnicodeBlock {
    GlobalBlock block;
    std::size_t length = 0;
};

// The units in a block of our own; an empty block when there is no memory for it.
UnicodeBlock unicodeBlock(std::wstring_view units);

// The units of a text block while it is locked: an owner's, up to its first NUL
// or its end (the NUL may be left out), or one of our own.
class LockedUnicode {
public:
    explicit LockedUnicode(HGLOBAL block);
    explicit LockedUnicode(const UnicodeBlock& ours);
    ~LockedUnicode();
    LockedUnicode(const LockedUnicode&) = delete;
    LockedUnicode& operator=(const LockedUnicode&) = delete;
    // False when the block could not be locked: it holds no text then.
    bool locked() const { return units_ != nullptr; }
    std::wstring_view text() const { return {units_, length_}; }

private:
    HGLOBAL block_;
    const wchar_t* units_ = nullptr;
    std::size_t length_ = 0;
};

} // namespace twk::win32
