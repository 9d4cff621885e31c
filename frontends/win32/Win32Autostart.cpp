#include "Win32Autostart.h"

#include "platform/Trace.h"

#include <windows.h>

#include <vector>

namespace twk::win32 {
namespace {

void traceFailure(const char* what, LONG result)
{
    SetLastError(static_cast<DWORD>(result));
    platform::trace(std::string("start with the desktop: cannot ") + what + " HKCU\\" + kRunKey + "\\" + kRunValue +
                    ": " + platform::lastSystemError());
}

} // namespace

std::string runningProgramPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

bool Win32Autostart::enabled()
{
    DWORD type = 0;
    DWORD size = 0;
    const LONG result =
        RegGetValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, &type, nullptr, &size);
    return result == ERROR_SUCCESS && size > 1;
}

bool Win32Autostart::setEnabled(bool on)
{
    HKEY run = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr);
    if (result != ERROR_SUCCESS) {
        traceFailure("open", result);
        return false;
    }
    if (on) {
        const std::string command = "\"" + programPath_ + "\"";
        result = RegSetValueExA(run, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>(command.size() + 1));
    } else {
        result = RegDeleteValueA(run, kRunValue);
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    RegCloseKey(run);
    if (result != ERROR_SUCCESS) {
        traceFailure(on ? "write" : "remove", result);
        return false;
    }
    return true;
}

} // namespace twk::win32
