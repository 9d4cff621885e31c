#include "platform/win32/Utf16.h"

#include "text/Utf8.h"

#include <cstdint>
#include <cstring>
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

// Hands each character of the UTF-16 text to `point`: a surrogate pair as one, a
// lone surrogate, which is no character, as U+FFFD.
template <class Point> void eachCodePoint(std::wstring_view wide, Point&& point)
{
    for (std::size_t at = 0; at < wide.size(); ++at) {
        const auto unit = static_cast<char32_t>(static_cast<unsigned short>(wide[at]));
        if (unit < 0xD800 || unit > 0xDFFF) {
            point(unit);
        } else if (highSurrogate(unit) && at + 1 < wide.size() &&
                   lowSurrogate(static_cast<unsigned short>(wide[at + 1]))) {
            const auto low = static_cast<char32_t>(static_cast<unsigned short>(wide[++at]));
            point(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            point(0xFFFD);
        }
    }
}

// The UTF-16 units of the character at `at` (one or two), as toWide converts it;
// `at` moves past it.
int nextUnits(std::string_view utf8, std::size_t& at, wchar_t (&units)[2])
{
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x80) {
        units[0] = static_cast<wchar_t>(byte);
        ++at;
        return 1;
    }
    const auto character = text::utf8CharacterAt(utf8, at);
    at += character.length;
    if (character.codePoint < 0x10000) {
        units[0] = static_cast<wchar_t>(character.codePoint);
        return 1;
    }
    const char32_t offset = character.codePoint - 0x10000;
    units[0] = static_cast<wchar_t>(0xD800 + (offset >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    return 2;
}

// Passes over the ASCII both texts start with alike, eight bytes at a time (most
// of a long text is ASCII, a unit a byte); false at the first difference.
bool sameAscii(std::string_view utf8, std::size_t& at, std::wstring_view wide, std::size_t& next)
{
    for (; at + 8 <= utf8.size() && next + 8 <= wide.size(); at += 8, next += 8) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, utf8.data() + at, sizeof bytes);
        if (bytes & 0x8080808080808080u)
            return true;
        unsigned differ = 0;
        for (std::size_t k = 0; k < 8; ++k)
            differ |= static_cast<unsigned short>(wide[next + k]) ^ static_cast<unsigned char>(utf8[at + k]);
        if (differ)
            return false;
    }
    return true;
}

} // namespace

std::wstring toWide(std::string_view utf8)
{
    std::wstring wide;
    wide.reserve(utf8.size());
    wchar_t units[2];
    for (std::size_t at = 0; at < utf8.size();)
        wide.append(units, static_cast<std::size_t>(nextUnits(utf8, at, units)));
    return wide;
}

bool sameText(std::string_view utf8, std::wstring_view wide)
{
    std::size_t at = 0;
    std::size_t next = 0;
    while (at < utf8.size()) {
        if (!sameAscii(utf8, at, wide, next))
            return false;
        if (at == utf8.size())
            break;
        wchar_t units[2];
        const auto count = static_cast<std::size_t>(nextUnits(utf8, at, units));
        if (wide.size() - next < count || wide.compare(next, count, units, count) != 0)
            return false;
        next += count;
    }
    return next == wide.size();
}

std::string toUtf8(std::wstring_view wide)
{
    // Measured first, then written in place: a huge text is made once, at its size.
    std::size_t length = 0;
    eachCodePoint(wide, [&length](char32_t point) { length += text::utf8Length(point); });
    std::string utf8(length, '\0');
    char* out = utf8.data();
    eachCodePoint(wide, [&out](char32_t point) { out = text::writeUtf8(out, point); });
    return utf8;
}

std::string toUtf8(const wchar_t* wide)
{
    return wide ? toUtf8(std::wstring_view(wide, std::wcslen(wide))) : std::string();
}

} // namespace twk::platform::win32
