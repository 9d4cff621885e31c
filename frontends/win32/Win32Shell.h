#pragma once

#include "platform/Shell.h"

namespace twk::win32 {

class Win32Shell final : public platform::Shell {
public:
    // Starts the command line "program argument" with one blank between, as
    // the user reads it; nothing is quoted. No command interpreter sees it.
    bool start(const platform::ProgramStart& start) override;
    // ShellExecuteA with the verb "open", owned by the active window.
    void openWithDefaultHandler(const std::string& target) override;
    void beep() override;
};

} // namespace twk::win32
