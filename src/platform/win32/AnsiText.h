#pragma once

#include <optional>
#include <string>

namespace twk::platform::win32 {

// The program's texts, paths among them, are 8-bit text in the system's ANSI
// code page; the wide calls of the system take them converted.
std::optional<std::wstring> wideFromAnsi(const std::string& text);
// Nothing when the text has a character the ANSI code page cannot hold: a
// name so changed would name another file, or none.
std::optional<std::string> ansiFromWide(const std::wstring& text);

} // namespace twk::platform::win32
