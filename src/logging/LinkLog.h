#pragma once

#include <string>
#include <string_view>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// The text with its line breaks taken out, each CR LF pair and each lone LF,
// so that a log value stays on one line and no part of it can pass for a
// section or a key of its own. A lone CR stays: it ends no line of the file.
std::string WithoutLineBreaks(std::string_view text);

// Logs the newest clipboard text into the current link log under fresh
// stamps; a failed write says so.
void SaveLinkToLog(shell::Program& program);

} // namespace twk::logging
