#pragma once

#include <string>
#include <string_view>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// The text with its line breaks taken out, so that a log value stays on one
// line and no part of it can pass for a section or a key of its own. A reader
// ends a line at a CR LF, a lone LF and a lone CR alike, so every CR and LF goes.
std::string WithoutLineBreaks(std::string_view text);

// Logs the newest clipboard text into the current link log under fresh
// stamps; a failed write says so.
void SaveLinkToLog(shell::Program& program);

} // namespace twk::logging
