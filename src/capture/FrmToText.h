#pragma once

#include "ui/TextBox.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace twk::shell {
class Program;
}

namespace twk::capture {

inline constexpr const char* kViewerPlacementSection = "frmtotext";
inline constexpr int kFirstTickMs = 50;

// "Recent Clipboard Text": shows what was caught, and carries the polling
// timer and the hidden box that every new clipboard text passes through. It
// lives for the whole run and only hides when closed.
class FrmToText : public ui::Window {
public:
    explicit FrmToText(shell::Program& program);

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    void Command1_Click();
    void Text1_Change();
    void Timer1_Timer();

    ui::TextBox Text1;
    ui::TextBox txtTMP;
    ui::Timer Timer1;

private:
    void rearm();
    shell::Program& program_;
};

} // namespace twk::capture
