#include "logging/FrmLinkCatcher.h"

#include "configuration/Placement.h"
#include "logging/LinkLog.h"
#include "logging/LinkToOpen.h"
#include "shell/Program.h"

namespace twk::logging {

FrmLinkCatcher::FrmLinkCatcher(shell::Program& program)
    : ui::Window("Link Catcher", {0, 0, 4695, 2400}), Text1({0, 120, 4575, 1815}), program_(program)
{
    Text1.onChange = [this] { SaveLinkToLog(program_); };
}

void FrmLinkCatcher::Form_Load()
{
    auto& environment = program_.platform.environment;
    const auto screenWidth = static_cast<float>(environment.screenWidthTwips());
    const auto screenHeight = static_cast<float>(environment.screenHeightTwips());
    setHeight(0.15F * screenHeight);
    setWidth(0.35F * screenWidth);
    centre(screenWidth, screenHeight);
    if (program_.Settings.RememberPositions == 1)
        configuration::PlacementRestore(program_, *this, kCatcherPlacementSection);
    Form_Resize();
}

void FrmLinkCatcher::Form_Resize()
{
    Text1.setSize(bounds().width, bounds().height);
}

void FrmLinkCatcher::Form_Unload(bool& cancel)
{
    configuration::PlacementSave(program_, *this, kCatcherPlacementSection);
    if (program_.Settings.ShuttingDown != 1) {
        hide();
        cancel = true;
    }
}

void FrmLinkCatcher::Command1_Click()
{
    hide();
}

void FrmLinkCatcher::Text1_DblClick()
{
    if (const auto link = LinkToOpen(Text1.selectedText))
        program_.platform.shell.openWithDefaultHandler(*link);
}

} // namespace twk::logging
