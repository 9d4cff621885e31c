#include "Win32Shell.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace twk::win32 {

bool Win32Shell::start(const platform::ProgramStart& start)
{
    const std::string line = start.commandLine();
    // A NUL would end the command line early and start another command.
    if (line.find('\0') != std::string::npos)
        return false;
    // CreateProcessA may write into the command line it is given.
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Win32Shell::openWithDefaultHandler(const std::string& target)
{
    if (target.empty() || target.find('\0') != std::string::npos)
        return;
    ShellExecuteA(GetActiveWindow(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Shell::beep()
{
    MessageBeep(MB_OK);
}

} // namespace twk::win32
