#pragma once

#include "NativeWindow.h"

namespace twk::about {
class FrmAbout;
}

namespace twk::win32 {

// The about window at its fixed layout on light grey: icon, name, version,
// description, an etched rule, the disclaimer, "Help (F1)", OK, and the link.
class AboutWindow final : public NativeWindow {
public:
    AboutWindow(about::FrmAbout& about, double twipsPerPixel);
    ~AboutWindow() override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool cancel() override;
    bool accept() override;

private:
    void paintRule();

    about::FrmAbout& about_;
    HBRUSH grey_;
    HWND link_ = nullptr;
};

} // namespace twk::win32
