#pragma once

#include <string>

namespace twk::win32 {

// Prints the answer to "--version" or "--help". A program of the Windows
// subsystem has no console of its own: the text goes to standard output when
// that was handed over (redirected, or a pipe), else to the console of the
// program that started it (cmd, PowerShell), else into a message box.
void ShowCommandLineAnswer(const std::string& text);

} // namespace twk::win32
