#include "about/FrmAbout.h"

#include "about/Help.h"
#include "about/VersionRecord.h"
#include "configuration/Placement.h"
#include "shell/Program.h"

namespace twk::about {

FrmAbout::FrmAbout(shell::Program& program) : ui::Window("", {0, 0, 5850, 4620}), program_(program)
{
    Command1.onClick = [this] { Command1_Click(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void FrmAbout::Form_Load()
{
    setCaption("About " + program_.ApplicationTitle);
    const auto version = ProgramVersion();
    lblVersion.setCaption("Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                          std::to_string(version.revision));
    lblDescription.setCaption(version.description);
    lblDisclaimer.setCaption(kDisclaimer);
    lblTitle.setCaption(std::string("Tarnwick 3.0 by ") + " " + kAuthor);
    auto& environment = program_.platform.environment;
    centre(static_cast<float>(environment.screenWidthTwips()), static_cast<float>(environment.screenHeightTwips()));
    if (program_.Settings.RememberPositions == 1)
        configuration::PlacementRestore(program_, *this, kAboutPlacementSection);
}

void FrmAbout::Form_Unload(bool& cancel)
{
    cancel = false;
    configuration::PlacementSave(program_, *this, kAboutPlacementSection);
}

void FrmAbout::cmdOK_Click()
{
    requestClose();
}

void FrmAbout::Command1_Click()
{
    ShowHelp(program_);
}

void FrmAbout::Text1_Click()
{
    // The link opens the product's page, not the site address it shows.
    program_.platform.shell.openWithDefaultHandler(kProductPage);
}

} // namespace twk::about
