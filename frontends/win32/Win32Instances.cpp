#include "Win32Instances.h"

#include "WindowText.h"
#include "platform/win32/Utf16.h"

#include <functional>
#include <string>
#include <vector>

namespace twk::win32 {
namespace {

using platform::win32::toUtf8;
using platform::win32::toWide;

std::string programPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return toUtf8(std::wstring_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

HWND toHandle(platform::WindowId window)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(window));
}

} // namespace

std::string instanceMutexName(const std::string& path)
{
    // Backslashes would name a namespace; a kernel object name stops at MAX_PATH.
    // Letters of every script are lowered, as the file system ignores their case.
    std::wstring lowered = toWide(path);
    if (!lowered.empty())
        CharLowerBuffW(lowered.data(), static_cast<DWORD>(lowered.size()));
    std::string name = "Local\\TWK3-";
    for (const char c : toUtf8(lowered))
        name += c == '\\' ? '/' : c;
    if (name.size() >= MAX_PATH)
        name = name.substr(0, 12) + std::to_string(std::hash<std::string>{}(name)) + name.substr(name.size() - 180);
    return name;
}

Win32Instances::Win32Instances(HINSTANCE instance, const char* windowClass, const char* title)
{
    const std::wstring className = toWide(windowClass);
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = instance;
    cls.lpszClassName = className.c_str();
    RegisterClassW(&cls);
    // Never shown, and so never in the task bar.
    window_ = CreateWindowExW(0, className.c_str(), toWide(title).c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
    // Made after the window, so that a copy that finds the mark also finds the window.
    mutex_ = CreateMutexW(nullptr, FALSE, toWide(instanceMutexName(programPath())).c_str());
    earlier_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

Win32Instances::~Win32Instances()
{
    if (mutex_)
        CloseHandle(mutex_);
    if (window_)
        DestroyWindow(window_);
}

bool Win32Instances::anotherInstanceRunning()
{
    return earlier_;
}

void Win32Instances::setApplicationTitle(const std::string& title)
{
    setWindowText(window_, title);
}

std::optional<platform::WindowId> Win32Instances::findWindow(const std::string& windowClass, const std::string& title)
{
    HWND found = FindWindowW(toWide(windowClass).c_str(), toWide(title).c_str());
    if (!found)
        return std::nullopt;
    return static_cast<platform::WindowId>(reinterpret_cast<INT_PTR>(found));
}

void Win32Instances::bringForward(platform::WindowId window)
{
    HWND above = GetWindow(toHandle(window), GW_HWNDPREV);
    OpenIcon(above);
    SetForegroundWindow(above);
}

} // namespace twk::win32
