#pragma once

#include "platform/Dialogs.h"

#include <string>

namespace twk::win32 {

// The program's help file, beside the program.
inline constexpr const char* kHelpFileName = "twk3.chm";

// What F1 does in every window: the HTML help viewer opens the help file at
// its default topic; when the file is missing, a message says so.
void ShowHtmlHelp(const std::string& programFolder, platform::Dialogs& dialogs);

// The message for a help file that is not where the program looks for it.
std::string helpMissingMessage(const std::string& helpFile);

} // namespace twk::win32
