#pragma once

#include <cstring>
#include <string_view>

namespace twk::logbrowser {

// The first CR or LF in the length bytes from begin, or length when none.
inline std::size_t findBreakIn(const char* begin, std::size_t length)
{
    // Most lines of a log are short: a plain loop beats the calls below there.
    const std::size_t near = length < 96 ? length : 96;
    for (std::size_t i = 0; i < near; ++i)
        if (begin[i] == '\r' || begin[i] == '\n')
            return i;
    if (near == length)
        return length;
    // Further on, two byte searches, far faster than a loop on a long line.
    const char* rest = begin + near;
    const std::size_t restLength = length - near;
    const void* feed = std::memchr(rest, '\n', restLength);
    const std::size_t feedAt = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - rest) : restLength;
    const void* ret = std::memchr(rest, '\r', feedAt);
    return near + (ret ? static_cast<std::size_t>(static_cast<const char*>(ret) - rest) : feedAt);
}

// The first CR or LF in text at or after from, or text.size().
inline std::size_t findBreak(std::string_view text, std::size_t from = 0)
{
    if (from >= text.size())
        return text.size();
    return from + findBreakIn(text.data() + from, text.size() - from);
}

} // namespace twk::logbrowser
