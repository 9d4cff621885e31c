#include "text/Utf8.h"

namespace twk::text {
namespace {

unsigned char byteAt(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]);
}

bool continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

constexpr Utf8Character kStray{kReplacementCharacter, 1, false};

} // namespace

Utf8Character utf8CharacterAt(std::string_view text, std::size_t at)
{
    const unsigned char lead = byteAt(text, at);
    if (lead < 0x80)
        return {lead, 1, true};
    std::size_t length = 0;
    char32_t codePoint = 0;
    // The smallest code point each length may hold: anything less is overlong.
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        least = 0x10000;
    } else {
        return kStray;
    }
    if (text.size() - at < length)
        return kStray;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(text, at + i);
        if (!continuation(next))
            return kStray;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return kStray;
    return {codePoint, length, true};
}

bool isUtf8(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        // ASCII runs are the common case of every text and of every INI file.
        if (byteAt(text, at) < 0x80) {
            ++at;
            continue;
        }
        const auto character = utf8CharacterAt(text, at);
        if (!character.valid)
            return false;
        at += character.length;
    }
    return true;
}

void appendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacementCharacter;
    char bytes[4];
    text.append(bytes, writeUtf8(bytes, codePoint));
}

char* writeUtf8(char* out, char32_t codePoint)
{
    const auto byte = [&out](char32_t bits) { *out++ = static_cast<char>(bits); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
    return out;
}

} // namespace twk::text
