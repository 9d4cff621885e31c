#pragma once

#include <string>
#include <string_view>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// The text with every CR LF pair taken out, so a log value stays on one line.
std::string WithoutLineBreaks(std::string_view text);

// Logs the newest clipboard text into the current link log under fresh
// stamps; a failed write says so.
void SaveLinkToLog(shell::Program& program);

} // namespace twk::logging
