#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace twk::text {

// One character of a UTF-8 text. A byte that starts no well-formed sequence
// (a stray continuation byte, a cut or overlong sequence, a surrogate, a code
// point past U+10FFFF) is a character of its own: one byte long, read as
// U+FFFD, and not valid. So every byte belongs to exactly one character.
struct Utf8Character {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character that starts at byte `at` (at < text.size()).
Utf8Character utf8CharacterAt(std::string_view text, std::size_t at);

// Whether every byte of the text is part of a well-formed UTF-8 sequence.
bool isUtf8(std::string_view text);

// Appends the code point in UTF-8; anything no UTF-8 can hold becomes U+FFFD.
void appendUtf8(std::string& text, char32_t codePoint);

// The bytes of a code point below 0x110000 in UTF-8's layout, a surrogate
// included (for callers that keep a lone one through a round trip).
constexpr std::size_t utf8Length(char32_t codePoint)
{
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

// Writes those bytes at out; returns the end of what it wrote.
char* writeUtf8(char* out, char32_t codePoint);

} // namespace twk::text
