#include "platform/win32/Utf16.h"

#include "text/Utf8.h"

#include <cwchar>

namespace twk::platform::win32 {
namespace {

static_assert(sizeof(wchar_t) == 2, "Windows' wide characters are UTF-16 code units");

bool highSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool lowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::wstring toWide(std::string_view utf8)
{
    std::wstring wide;
    wide.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte < 0x80) {
            wide += static_cast<wchar_t>(byte);
            ++at;
            continue;
        }
        const auto character = text::utf8CharacterAt(utf8, at);
        at += character.length;
        if (character.codePoint < 0x10000) {
            wide += static_cast<wchar_t>(character.codePoint);
        } else {
            const char32_t offset = character.codePoint - 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (offset >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
        }
    }
    return wide;
}

std::string toUtf8(std::wstring_view wide)
{
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t at = 0; at < wide.size(); ++at) {
        const auto unit = static_cast<char32_t>(static_cast<unsigned short>(wide[at]));
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (highSurrogate(unit) && at + 1 < wide.size() &&
                   lowSurrogate(static_cast<unsigned short>(wide[at + 1]))) {
            const auto low = static_cast<char32_t>(static_cast<unsigned short>(wide[++at]));
            text::appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            // A lone surrogate is no character: appendUtf8 writes U+FFFD.
            text::appendUtf8(utf8, unit);
        }
    }
    return utf8;
}

std::string toUtf8(const wchar_t* wide)
{
    return wide ? toUtf8(std::wstring_view(wide, std::wcslen(wide))) : std::string();
}

} // namespace twk::platform::win32
