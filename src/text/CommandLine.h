#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twk::text {

// The words of a command line: blanks and tabs separate them, and a run in
// double or single quotes belongs to its word whatever it holds, its quotes
// removed ("" is an empty word). A backslash is an ordinary character, so a
// Windows path reads as it is written.
std::vector<std::string> SplitCommandLine(std::string_view line);

} // namespace twk::text
