#pragma once

#include <cstring>
#include <string_view>

namespace twk::logbrowser {

// The first CR or LF in text at or after from, or text.size(): two byte
// searches, far faster on long text than a search for either byte at a time.
inline std::size_t findBreak(std::string_view text, std::size_t from = 0)
{
    if (from >= text.size())
        return text.size();
    const char* begin = text.data() + from;
    const std::size_t length = text.size() - from;
    const void* feed = std::memchr(begin, '\n', length);
    const std::size_t feedAt =
        feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - text.data()) : text.size();
    const void* ret = std::memchr(begin, '\r', feedAt - from);
    return ret ? static_cast<std::size_t>(static_cast<const char*>(ret) - text.data()) : feedAt;
}

} // namespace twk::logbrowser
