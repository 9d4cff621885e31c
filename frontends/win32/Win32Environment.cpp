#include "Win32Environment.h"

#include "platform/Trace.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

namespace twk::win32 {
namespace {

int dotsPerInch(int axis)
{
    HDC screen = GetDC(nullptr);
    const int dots = screen ? GetDeviceCaps(screen, axis) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dots;
}

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string folderOfProgram(const std::string& programPath)
{
    const auto slash = programPath.find_last_of('\\');
    if (slash == std::string::npos)
        return programPath;
    std::string folder = programPath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return folder;
}

std::string argumentsOf(const std::string& commandLine)
{
    std::size_t at = 0;
    // The program's name: quoted, or up to the first blank.
    if (!commandLine.empty() && commandLine[0] == '"') {
        const auto close = commandLine.find('"', 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    }
    while (at < commandLine.size() && !blank(commandLine[at]))
        ++at;
    while (at < commandLine.size() && blank(commandLine[at]))
        ++at;
    return commandLine.substr(at);
}

double twipsPerPixel(int dots)
{
    return dots > 0 ? 1440.0 / dots : 15.0;
}

std::string Win32Environment::programFolder()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return folderOfProgram(platform::win32::toUtf8(std::wstring_view(path.data(), length)));
        path.resize(path.size() * 2);
    }
}

bool Win32Environment::canWriteIn(const std::string& folder)
{
    // Access rights, the read-only mark of a share and a locked-down folder
    // all show in whether a file can be made, so one is made and let go.
    const std::string probe = folder + (folder.ends_with('\\') ? "" : "\\") + "twk3-write-test-" +
                              std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file = CreateFileW(platform::win32::toWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::optional<std::string> Win32Environment::perUserFolder()
{
    wchar_t appData[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData) != S_OK)
        return std::nullopt;
    const std::wstring folder = std::wstring(appData) + L"\\TWK";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        platform::trace("cannot make the folder " + platform::win32::toUtf8(folder) + ": " +
                        platform::lastSystemError());
        return std::nullopt;
    }
    return platform::win32::toUtf8(folder);
}

std::string Win32Environment::argumentString()
{
    return argumentsOf(platform::win32::toUtf8(GetCommandLineW()));
}

std::optional<std::string> Win32Environment::variable(const std::string& name)
{
    const std::wstring wideName = platform::win32::toWide(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::vector<wchar_t> value(needed);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    return platform::win32::toUtf8(std::wstring_view(value.data(), length));
}

std::optional<std::string> Win32Environment::defaultOpener()
{
    // Windows always has its Notepad under SystemRoot.
    return std::nullopt;
}

platform::LocalDateTime Win32Environment::now()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

double Win32Environment::screenWidthTwips()
{
    return GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX();
}

double Win32Environment::screenHeightTwips()
{
    return GetSystemMetrics(SM_CYSCREEN) * twipsPerPixelY();
}

double Win32Environment::twipsPerPixelX()
{
    return twipsPerPixel(dotsPerInch(LOGPIXELSX));
}

double Win32Environment::twipsPerPixelY()
{
    return twipsPerPixel(dotsPerInch(LOGPIXELSY));
}

} // namespace twk::win32
