#pragma once

namespace twk::platform {

// The program as a user types it on a command line: its file on Windows, the
// installed command elsewhere.
#ifdef _WIN32
inline constexpr const char* kProgramCommand = "TWK3.exe";
#else
inline constexpr const char* kProgramCommand = "twk3";
#endif

} // namespace twk::platform
