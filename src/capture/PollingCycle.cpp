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

// A "javascript:" link on the clipboard is rewritten there; the text goes on as the
// clipboard now holds it.
std::string withoutJavascript(platform::Clipboard& clipboard, std::string text)
{
    if (!StartsWithJavascript(text))
        return text;
    if (auto target = JavascriptTarget(text); target && clipboard.setText(*target))
        return std::move(*target);
    return text;
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
    captionOnOff(program_);
    if (text::numberEquals(program_.Settings.CaptureOn, 0)) {
        restUnlessNeeded(false);
        return;
    }

    bool unreadable = false;
    if (auto text = newClipboardText(unreadable))
        capture(std::move(*text));

    if (program_.Settings.HitAndRun != 0) {
        // Started for one capture: a clipboard whose owner has not answered yet is worth
        // a short wait before ending without it.
        if (unreadable && ++unreadableTicks_ * kFirstTickMs < kHitAndRunPatienceMs) {
            Timer1.setInterval(kFirstTickMs);
            return;
        }
        program_.closeMainWindow();
        return;
    }
    rearm();
    restUnlessNeeded(unreadable);
}

void FrmToText::restUnlessNeeded(bool unreadable)
{
    if (!unreadable && nextTickIdle())
        Timer1.doze();
    else
        Timer1.wake();
}

bool FrmToText::nextTickIdle() const
{
    auto& s = program_.Settings;
    auto& clipboard = program_.platform.clipboard;
    if (!clipboard.announcesChanges())
        return false;
    if (text::numberEquals(s.CaptureOn, 0))
        return true;
    const auto sequence = clipboard.sequenceNumber();
    return s.HitAndRun == 0 && sequence != 0 && sequence == readSequence_ && txtTMP.revision() == readRevision_;
}

std::optional<std::string> FrmToText::newClipboardText(bool& unreadable)
{
    auto& clipboard = program_.platform.clipboard;
    const auto sequence = clipboard.sequenceNumber();
    // Unchanged since the last full read, and compared then with the same txtTMP: nothing
    // can be new, and nothing is transferred.
    if (sequence != 0 && sequence == readSequence_ && txtTMP.revision() == readRevision_)
        return std::nullopt;

    // A file list or a secret counts as no text; a secret is never even read.
    const auto mark = clipboard.mark();
    std::optional<std::string> text;
    if (mark == platform::ClipboardMark::none)
        text = clipboard.text();
    if (!mark || (*mark == platform::ClipboardMark::none && !text)) {
        unreadable = true; // the next tick tries again
        return std::nullopt;
    }
    readSequence_ = sequence;
    readRevision_ = txtTMP.revision();
    if (!text || text->empty() || *text == txtTMP.text())
        return std::nullopt;
    return text;
}

void FrmToText::capture(std::string text)
{
    auto& s = program_.Settings;
    auto& clipboard = program_.platform.clipboard;
    if (s.JavaScriptStripper == 1)
        text = withoutJavascript(clipboard, std::move(text));

    txtTMP.setText(std::move(text)); // shows, pops up and logs before going on
    clipboard.clear();
    if (s.AutoClear == 0)
        clipboard.setText(txtTMP.text());
    if (text::numberEquals(s.BeepOn, 1))
        program_.platform.shell.beep();
    // Our own writes are no news for the next tick.
    readSequence_ = clipboard.sequenceNumber();
    readRevision_ = txtTMP.revision();

    if (text::numberEquals(s.LinkCatcherOn, 1) && IsLink(txtTMP.text(), s.StrictUrls))
        handOverLink(program_, txtTMP.text());
}

void FrmToText::rearm()
{
    for (int choice = 1; choice <= 5; ++choice)
        if (text::numberEquals(program_.Settings.Frequency, choice))
            Timer1.setInterval(choice * 1000);
}

} // namespace twk::capture
