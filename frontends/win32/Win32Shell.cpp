#include "Win32Shell.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

#include <shellapi.h>

namespace twk::win32 {

bool Win32Shell::start(const platform::ProgramStart& start)
{
    const std::string line = start.commandLine();
    // A NUL would end the command line early and start another command.
    if (line.find('\0') != std::string::npos)
        return false;
    // CreateProcessW may write into the command line it is given.
    std::wstring commandLine = platform::win32::toWide(line);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Win32Shell::openWithDefaultHandler(const std::string& target)
{
    if (target.empty() || target.find('\0') != std::string::npos)
        return;
    ShellExecuteW(GetActiveWindow(), L"open", platform::win32::toWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Shell::beep()
{
    MessageBeep(MB_OK);
}

} // namespace twk::win32
