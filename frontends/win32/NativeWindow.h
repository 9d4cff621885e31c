#pragma once

#include "ui/Window.h"

#include <windows.h>

#include <functional>

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

    std::function<void()> onHelp;
    // WM_TIMER, whichever timer of the window it is.
    std::function<void()> onTimer;

protected:
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The button that Esc presses, and the one Enter presses.
    virtual bool cancel() { return false; }
    virtual bool accept() { return false; }

    // Twips of the model to pixels of the screen, and back.
    int pixels(float twips) const;
    float twips(int pixels) const;
    double twipsPerPixel() const { return twipsPerPixel_; }
    // A child control placed at a design rectangle in twips.
    HWND addControl(const char* windowClass, const char* text, DWORD style, const ui::Bounds& place, int id,
                    DWORD extendedStyle = 0);
    void setFont(HWND control) const;

    bool applying_ = false;

private:
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void reportBounds();
    void reportState(WPARAM sizeType);

    ui::Window* window_;
    double twipsPerPixel_;
    HWND handle_ = nullptr;
};

} // namespace twk::win32
