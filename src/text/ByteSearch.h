#pragma once

#include <cstddef>
#include <string_view>

namespace twk::text {

// Where needle first occurs in haystack at or after from; npos when nowhere.
// Built for long haystacks and needles whose first and last bytes seldom
// stand needle.size() - 1 apart (a date stamp in a log full of other
// stamps): it tests those two bytes sixteen positions at a time and
// compares the whole needle only where both match.
std::size_t FindBytes(std::string_view haystack, std::string_view needle, std::size_t from = 0);

} // namespace twk::text
