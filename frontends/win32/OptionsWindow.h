#pragma once

#include "NativeWindow.h"

namespace twk::configuration {
class FrmOptions;
}

namespace twk::win32 {

// "TWK Options" at its fixed layout: the page list, the three pages on top of
// one another, "TWK 3.0" under the list and the four buttons along the bottom.
class OptionsWindow final : public NativeWindow {
public:
    OptionsWindow(configuration::FrmOptions& options, double twipsPerPixel);
    ~OptionsWindow() override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool cancel() override;

private:
    void addGeneralPage();
    void addClipboardPage();
    void addLinkPage();
    // The folder buttons name the saved folder as soon as the pointer is on them.
    void hintOnHover(HWND button, void (configuration::FrmOptions::*hint)());

    configuration::FrmOptions& options_;
    HWND title_ = nullptr;
    HFONT titleFont_ = nullptr;
};

} // namespace twk::win32
