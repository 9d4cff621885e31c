#include "capture/FrmToText.h"

#include "configuration/Placement.h"
#include "logging/AppendFile.h"
#include "logging/ClipboardLog.h"
#include "shell/Program.h"

namespace twk::capture {

FrmToText::FrmToText(shell::Program& program)
    : ui::Window("Recent Clipboard Text", {0, 0, 5895, 1005}), Text1({0, 0, 5775, 495}), txtTMP({1920, 480, 1215, 495}),
      Timer1(kFirstTickMs), program_(program)
{
    Text1.onChange = [this] { Text1_Change(); };
    txtTMP.onChange = [this] {
        Timer1.wake(); // the next tick compares with the new text
        logging::txtTMP_Change(program_);
    };
    program_.platform.clipboard.onChange = [this] {
        announced_ = true;
        Timer1.wake();
    };
    Timer1.onTimer = [this] {
        // Closing the program from inside the tick waits for the tick to end.
        shell::Program::HandlerScope scope(program_);
        Timer1_Timer();
    };
}

FrmToText::~FrmToText()
{
    // The clipboard outlives the viewer, and may still announce a change at the end.
    program_.platform.clipboard.onChange = nullptr;
}

void FrmToText::Form_Load()
{
    followCaptureSwitch(); // before the clipboard reads anything
    auto& environment = program_.platform.environment;
    const auto screenWidth = static_cast<float>(environment.screenWidthTwips());
    const auto screenHeight = static_cast<float>(environment.screenHeightTwips());
    setHeight(0.15F * screenHeight);
    setWidth(0.35F * screenWidth);
    const auto remember = program_.Settings.RememberPositions;
    if (remember == 0)
        centre(screenWidth, screenHeight);
    else if (remember == 1)
        configuration::PlacementRestore(program_, *this, kViewerPlacementSection);
    Form_Resize();
}

void FrmToText::Form_Resize()
{
    // The text covers the whole outer window, frame included.
    Text1.setSize(bounds().width, bounds().height);
}

void FrmToText::Form_Unload(bool& cancel)
{
    configuration::PlacementSave(program_, *this, kViewerPlacementSection);
    if (program_.Settings.ShuttingDown != 1) {
        hide();
        cancel = true;
    }
}

void FrmToText::Command1_Click()
{
    hide();
}

void FrmToText::Text1_Change()
{
    logging::SaveAppendFile(program_);
}

} // namespace twk::capture
