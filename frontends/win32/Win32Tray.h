#pragma once

#include "platform/Tray.h"

#include <windows.h>

#include <shellapi.h>

#include <functional>

namespace twk::win32 {

// The notification-area icon. Its record names the picture box "pichook", a
// child of the hidden main window "TWK"; the shell sends the icon's mouse
// events there as WM_MOUSEMOVE with the event code where the horizontal
// coordinate goes, and the hook passes that coordinate on in twips.
class Win32Tray final : public platform::Tray {
public:
    Win32Tray(HINSTANCE instance, HICON icon, double twipsPerPixelX);
    ~Win32Tray() override;
    Win32Tray(const Win32Tray&) = delete;
    Win32Tray& operator=(const Win32Tray&) = delete;

    bool addIcon(const std::string& tip) override;
    void removeIcon() override;
    // TrackPopupMenu at the pointer; the chosen entry's handler runs before it returns.
    void popup(ui::Menu& menu) override;

    HWND hook() const { return hook_; }
    const NOTIFYICONDATAW& record() const { return record_; }

    // pichook_MouseMove: the horizontal coordinate, in twips.
    std::function<void(float x)> onMouseMove;
    // The system closes the hidden main window (WM_CLOSE, or the session ends).
    std::function<void()> onSystemClose;

private:
    static LRESULT CALLBACK hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void setRecordKey();
    HWND showMenuOwner(POINT at) const;

    HWND main_ = nullptr;
    HWND hook_ = nullptr;
    HICON icon_;
    double twipsPerPixelX_;
    NOTIFYICONDATAW record_{};
};

} // namespace twk::win32
