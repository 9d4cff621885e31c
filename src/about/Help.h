#pragma once

#include <string>

namespace twk::shell {
class Program;
}

namespace twk::about {

// The help document ships beside the program.
inline constexpr const char* kHelpFileName = "twk3-help.html";

std::string HelpFilePath(shell::Program& program);

// What F1 does in every window: opens the help at its start with the
// desktop's viewer.
void ShowHelp(shell::Program& program);

} // namespace twk::about
