#pragma once

namespace twk::configuration::keys {

inline constexpr const char* kMain = "TWK";
inline constexpr const char* kLinkCatcher = "LINKCATCHER";
inline constexpr const char* kIniFileName = "twk3.ini";
inline constexpr const char* kAppendFileName = "appendfile.txt";

} // namespace twk::configuration::keys
