#pragma once

#include <string>

namespace twk::win32 {

// The program's help file, beside the program.
inline constexpr const char* kHelpFileName = "twk3.chm";

// What F1 does in every window: the HTML help viewer opens the help file at
// its default topic.
void ShowHtmlHelp(const std::string& programFolder);

} // namespace twk::win32
