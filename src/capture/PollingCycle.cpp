#include "capture/FrmToText.h"
#include "capture/LinkRules.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::capture {
namespace {

void captionOnOff(shell::Program& program)
{
    if (!program.form1.loaded())
        return;
    auto* onOff = program.form1->mnuBar.find("mnuOnOff");
    const auto& capture = program.Settings.CaptureOn;
    if (text::numberEquals(capture, 0))
        onOff->caption = "Turn On TWK";
    else if (text::numberEquals(capture, 1))
        onOff->caption = "Turn Off TWK";
}

bool hasNewText(platform::Clipboard& clipboard, const std::string& last)
{
    const auto text = clipboard.text();
    if (!text || *text == last)
        return false;
    const auto again = clipboard.text();
    return again && !again->empty();
}

void stripJavascript(platform::Clipboard& clipboard)
{
    const auto text = clipboard.text();
    if (!text || !StartsWithJavascript(*text))
        return;
    if (const auto target = JavascriptTarget(*text))
        clipboard.setText(*target);
}

void handOverLink(shell::Program& program, const std::string& link)
{
    auto& list = program.frmLinkCatcher.load(program).Text1;
    if (list.text().empty())
        list.setText(link);
    else
        list.append("\r\n" + link);
}

} // namespace

void FrmToText::Timer1_Timer()
{
    auto& s = program_.Settings;
    auto& clipboard = program_.platform.clipboard;

    captionOnOff(program_);
    if (text::numberEquals(s.CaptureOn, 0))
        return;

    if (hasNewText(clipboard, txtTMP.text())) {
        if (s.JavaScriptStripper == 1)
            stripJavascript(clipboard);
        if (clipboard.hasText()) {
            if (const auto text = clipboard.text())
                txtTMP.setText(*text); // shows, pops up and logs before going on
            clipboard.clear();
            if (s.AutoClear == 0)
                clipboard.setText(txtTMP.text());
            if (text::numberEquals(s.BeepOn, 1))
                program_.platform.shell.beep();
        }
        if (text::numberEquals(s.LinkCatcherOn, 1) && IsLink(txtTMP.text(), s.StrictUrls))
            handOverLink(program_, txtTMP.text());
    }

    if (s.HitAndRun != 0) {
        program_.closeMainWindow();
        return;
    }
    rearm();
}

void FrmToText::rearm()
{
    for (int choice = 1; choice <= 5; ++choice)
        if (text::numberEquals(program_.Settings.Frequency, choice))
            Timer1.setInterval(choice * 1000);
}

} // namespace twk::capture
