#pragma once

#include "platform/Instances.h"

#include <windows.h>

namespace twk::win32 {

// The hidden top-level application window that a later copy of the program
// finds by its class and caption, and the indication that a copy of this
// program file started earlier is still running.
class Win32Instances final : public platform::Instances {
public:
    Win32Instances(HINSTANCE instance, const char* windowClass, const char* title);
    ~Win32Instances() override;
    Win32Instances(const Win32Instances&) = delete;
    Win32Instances& operator=(const Win32Instances&) = delete;

    HWND applicationWindow() const { return window_; }

    bool anotherInstanceRunning() override;
    void setApplicationTitle(const std::string& title) override;
    // FindWindowA: a top-level window of that class with that caption.
    std::optional<platform::WindowId> findWindow(const std::string& windowClass, const std::string& title) override;
    // The window just above the found one (GetWindow with GW_HWNDPREV),
    // restored with OpenIcon and brought forward with SetForegroundWindow.
    void bringForward(platform::WindowId window) override;

private:
    HWND window_ = nullptr;
    HANDLE mutex_ = nullptr;
    bool earlier_ = false;
};

// The name of the mutex that marks a running copy of one program file: the
// path without letter case, in characters a kernel object name may hold.
std::string instanceMutexName(const std::string& programPath);

} // namespace twk::win32
