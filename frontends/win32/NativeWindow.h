#pragma once

#include "ui/Window.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace twk::win32 {

// A real top-level window that follows one of the program's windows: caption,
// outer bounds in twips, state, visibility and enabled state; and that hands
// the user's moves, sizes, state changes and close box back to it.
class NativeWindow : public ui::WindowPeer {
public:
    NativeWindow(ui::Window& window, double twipsPerPixel, DWORD style);
    ~NativeWindow() override;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND handle() const { return handle_; }
    static NativeWindow* of(HWND handle);

    // The program has dropped the window: nothing may reach it any more.
    virtual void detach();
    bool attached() const { return window_ != nullptr; }

    void windowChanged() override;
    void bringToFront() override;

    // Keys the window handles before the focused control sees them: F1 asks
    // for help, Esc presses the cancel button, Enter the default button.
    bool handleKey(const MSG& message);

    // A control's command (WM_COMMAND: its notification code and the control)
    // goes to the handler registered under its id, while the window is attached.
    int registerCommand(std::function<void(int code, HWND control)> handler);
    // Runs when the window is detached: bindings let go of the model here.
    void whenDetached(std::function<void()> release);
    // A child control placed at a rectangle in twips, in this window or in a
    // page of it.
    HWND addControl(const wchar_t* windowClass, std::string_view text, DWORD style, const ui::Bounds& place, int id,
                    HWND parent = nullptr, DWORD extendedStyle = 0);
    // A child window that holds the controls of one page and passes their
    // commands to this window.
    HWND addPage(const ui::Bounds& place);
    void setTooltip(HWND control, const std::string& text);
    int pixels(float twips) const;
    float twips(int pixels) const;

    std::function<void()> onHelp;
    // WM_TIMER, whichever timer of the window it is.
    std::function<void()> onTimer;

protected:
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The button that Esc presses, and the one Enter presses.
    virtual bool cancel() { return false; }
    virtual bool accept() { return false; }

    double twipsPerPixel() const { return twipsPerPixel_; }
    void setFont(HWND control) const;

    bool applying_ = false;

private:
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void reportBounds();
    void reportState(WPARAM sizeType);

    ui::Window* window_;
    double twipsPerPixel_;
    HWND handle_ = nullptr;
    HWND tooltips_ = nullptr;
    std::map<int, std::function<void(int, HWND)>> commands_;
    std::vector<std::function<void()>> releases_;
};

} // namespace twk::win32
