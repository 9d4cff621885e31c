#pragma once

#include "ini/IniFiles.h"

#include <string>

namespace twk::configuration {

inline constexpr std::size_t kIniBufferSize = 128;
inline constexpr std::size_t kIniLongestValue = 126;

// The value under key in section of file: at most its first 126 characters.
// An absent or empty value comes back as the untouched buffer, 128 NUL
// characters, which no reader mistakes for a number.
std::string ReadIni(ini::IniFiles& ini, const std::string& section, const std::string& key, const std::string& file);

} // namespace twk::configuration
