#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace twk::text {

// Texts are UTF-8 on every system. A character is one well-formed UTF-8
// sequence, or a single byte of anything else (text/Utf8.h), so a count never
// loses bytes and a cut never splits a character.
std::size_t characterCount(std::string_view text);

// The first count characters, never splitting a character.
std::string_view firstCharacters(std::string_view text, std::size_t count);

// Lower-cases the ASCII letters only, so multi-byte characters stay intact.
std::string asciiLower(std::string_view text);

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// What a C string would hold: the text up to its first NUL.
std::string_view beforeFirstNul(std::string_view text);

// The text without its NUL characters, which no file or box should ever show.
std::string withoutNuls(std::string_view text);

} // namespace twk::text
