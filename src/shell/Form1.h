#pragma once

#include "ui/Menu.h"
#include "ui/Window.h"

#include <cstdint>
#include <string>

namespace twk::shell {

class Program;

inline constexpr const char* kTrayTip = "TWK";
inline constexpr int kTrayDoubleClick = 515; // left button double-click
inline constexpr int kTrayRightButtonUp = 517;

// The hidden main window: its load is the program's start, its unload the
// orderly end, and it owns the tray icon and the tray's popup menu.
class Form1 : public ui::Window {
public:
    explicit Form1(Program& program);

    void Form_Load() override;
    void Form_QueryUnload();
    void Form_Unload(bool& cancel) override;

    // A tray notification; the event code travels in the horizontal
    // coordinate, in twips.
    void pichook_MouseMove(float x);

    void mnuClipLog_Click();
    void mnuLinksLog_Click();
    void mnuOtherLog_Click();
    void menu2_Click();
    void mnuCatcher_Click();
    void mnuClearText_Click();
    void mnuClearURL_Click();
    void mnuClearClip_Click();
    void mnuClearAll_Click();
    void mnuOnOff_Click();
    void mnuOptions_Click();
    void mnuAbout_Click();
    void mnuCancel_Click();
    void mnuExit_Click();

    ui::Menu mnuBar;
    bool TrayBusy = false;
    std::int32_t TrayEventCode = 0;

private:
    void showViewers();
    void OpenLogInViewer(const std::string& file);

    Program& program_;
};

} // namespace twk::shell
