#pragma once

// On Windows the core's 8-bit encoding is UTF-8, as on Linux: every text the
// core holds (clipboard texts, paths, settings, window texts) is UTF-8, and the
// Windows side talks to the system only through its wide (UTF-16) calls,
// converting here. Conversion never fails: a byte of malformed UTF-8, or an
// unpaired surrogate in UTF-16, becomes U+FFFD, and everything else round-trips.

#include <string>
#include <string_view>

namespace twk::platform::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
// Whether toWide(utf8) would give `wide`, found without making it.
bool sameText(std::string_view utf8, std::wstring_view wide);

// A NUL-terminated wide string's UTF-8 (nullptr gives "").
std::string toUtf8(const wchar_t* wide);

} // namespace twk::platform::win32
