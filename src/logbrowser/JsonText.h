#pragma once

#include <string>
#include <string_view>

namespace twk::logbrowser {

// The text as a JSON string, quotes included. Bytes that are not UTF-8 become
// U+FFFD, so the output is always valid JSON.
std::string jsonString(std::string_view text);

} // namespace twk::logbrowser
