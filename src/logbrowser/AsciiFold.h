#pragma once

#include <cstddef>
#include <string_view>

namespace twk::logbrowser {

inline char asciiFolded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Where needle (ASCII letters in lower case; other bytes as they are) first
// occurs in haystack at or after from, ASCII letters compared without regard
// to case; npos when nowhere. Tests the needle's first and last bytes sixteen
// places at a time, so it runs at the speed of memory on a long haystack.
std::size_t findAsciiFolded(std::string_view haystack, std::string_view needle, std::size_t from = 0);

} // namespace twk::logbrowser
