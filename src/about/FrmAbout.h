#pragma once

#include "ui/Control.h"
#include "ui/Window.h"

namespace twk::shell {
class Program;
}

namespace twk::about {

inline constexpr const char* kAboutPlacementSection = "frmAbout";
inline constexpr const char* kProductPage = "https://tarnwick.example/twk3/";
inline constexpr const char* kMakerSite = "www.tarnwick.example";
inline constexpr const char* kAuthor = "the Tarnwick developers";
inline constexpr const char* kDisclaimer =
    "  No warranty of any kind is given for this program. It is used entirely at your own risk; keep copies of "
    "anything that matters to you.";

// The about window: name, version, description, disclaimer, the web link and help.
class FrmAbout : public ui::Window {
public:
    explicit FrmAbout(shell::Program& program);

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void cmdOK_Click();
    void Command1_Click();
    void Text1_Click();

    ui::Control lblTitle;
    ui::Control lblVersion;
    ui::Control lblDescription;
    ui::Control lblDisclaimer;
    ui::Button Command1{"Help (F1)"};
    ui::Button cmdOK{"OK"};
    ui::Control Text1{kMakerSite};

private:
    shell::Program& program_;
};

} // namespace twk::about
