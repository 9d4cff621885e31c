#include "Win32Autostart.h"

#include "platform/Trace.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <vector>

namespace twk::win32 {
namespace {

constexpr const wchar_t* kRunKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValueW = L"TWK";

void traceFailure(const char* what, LONG result)
{
    SetLastError(static_cast<DWORD>(result));
    platform::trace(std::string("start with the desktop: cannot ") + what + " HKCU\\" + kRunKey + "\\" + kRunValue +
                    ": " + platform::lastSystemError());
}

} // namespace

std::string runningProgramPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return platform::win32::toUtf8(std::wstring_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

bool Win32Autostart::enabled()
{
    DWORD type = 0;
    DWORD size = 0;
    const LONG result = RegGetValueW(HKEY_CURRENT_USER, kRunKeyW, kRunValueW,
                                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, nullptr, &size);
    return result == ERROR_SUCCESS && size > sizeof(wchar_t);
}

bool Win32Autostart::setEnabled(bool on)
{
    HKEY run = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr);
    if (result != ERROR_SUCCESS) {
        traceFailure("open", result);
        return false;
    }
    if (on) {
        const std::wstring command = platform::win32::toWide("\"" + programPath_ + "\"");
        result = RegSetValueExW(run, kRunValueW, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        result = RegDeleteValueW(run, kRunValueW);
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
