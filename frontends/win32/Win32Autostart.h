#pragma once

#include "platform/Autostart.h"

#include <string>

namespace twk::win32 {

// Start at login on Windows: the value "TWK" under the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run), the quoted path of
// the program file. The installer's "start at login" writes the same value.
class Win32Autostart final : public platform::Autostart {
public:
    explicit Win32Autostart(std::string programPath) : programPath_(std::move(programPath)) {}

    bool enabled() override;
    bool setEnabled(bool on) override;

private:
    std::string programPath_;
};

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "TWK";

// The full path of the program file that is running.
std::string runningProgramPath();

} // namespace twk::win32
