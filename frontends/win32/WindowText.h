#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace twk::win32 {

// A window's or control's text in the program's UTF-8, through the wide calls,
// so that every character the system can show survives the trip.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

} // namespace twk::win32
