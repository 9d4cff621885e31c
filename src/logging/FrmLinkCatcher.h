#pragma once

#include "ui/TextBox.h"
#include "ui/Window.h"

namespace twk::shell {
class Program;
}

namespace twk::logging {

inline constexpr const char* kCatcherPlacementSection = "frmlinkcatcher";

// "Link Catcher": the list of caught links, each change of which is logged.
// Like the viewer it lives for the whole run and only hides when closed.
class FrmLinkCatcher : public ui::Window {
public:
    explicit FrmLinkCatcher(shell::Program& program);

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    void Command1_Click();
    void Text1_DblClick();

    ui::TextBox Text1;

private:
    shell::Program& program_;
};

} // namespace twk::logging
