#include "Win32Instances.h"

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace twk::win32 {
namespace {

std::string programPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::string(path.data(), length);
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
    std::string name = "Local\\TWK3-";
    for (unsigned char c : path)
        name += c == '\\' ? '/' : static_cast<char>(std::tolower(c));
    if (name.size() >= MAX_PATH)
        name = name.substr(0, 12) + std::to_string(std::hash<std::string>{}(name)) + name.substr(name.size() - 180);
    return name;
}

Win32Instances::Win32Instances(HINSTANCE instance, const char* windowClass, const char* title)
{
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = instance;
    cls.lpszClassName = windowClass;
    RegisterClassA(&cls);
    // Never shown, and so never in the task bar.
    window_ = CreateWindowExA(0, windowClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    // Made after the window, so that a copy that finds the mark also finds the window.
    mutex_ = CreateMutexA(nullptr, FALSE, instanceMutexName(programPath()).c_str());
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
    SetWindowTextA(window_, title.c_str());
}

std::optional<platform::WindowId> Win32Instances::findWindow(const std::string& windowClass, const std::string& title)
{
    HWND found = FindWindowA(windowClass.c_str(), title.c_str());
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
