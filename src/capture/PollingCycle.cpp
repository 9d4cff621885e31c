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

// A "javascript:" link is captured as the address it opens; the put-back then puts that
// address on the clipboard.
std::string withoutJavascript(std::string text)
{
    if (!StartsWithJavascript(text))
        return text;
    if (auto target = JavascriptTarget(text))
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

void FrmToText::followCaptureSwitch()
{
    program_.platform.clipboard.setCapturing(!text::numberEquals(program_.Settings.CaptureOn, 0));
}

void FrmToText::Timer1_Timer()
{
    // A box opened inside a tick lets the timer fire again: the copies wait for the tick
    // that is under way, so that they reach the log in order.
    if (ticking_)
        return;
    ticking_ = true;
    struct EndOfTick {
        bool& ticking;
        ~EndOfTick() { ticking = false; }
    } endOfTick{ticking_};

    captionOnOff(program_);
    followCaptureSwitch();
    if (text::numberEquals(program_.Settings.CaptureOn, 0)) {
        restUnlessNeeded();
        return;
    }

    auto& clipboard = program_.platform.clipboard;
    // txtTMP was changed elsewhere (emptied from the tray): what the clipboard holds is
    // compared with it afresh.
    if (txtTMP.revision() != readRevision_)
        clipboard.readPresent();
    announced_ = false;
    auto copies = clipboard.takeCopies();
    const bool tookNone = copies.empty();
    captureAll(std::move(copies));
    readRevision_ = txtTMP.revision();

    if (program_.Settings.HitAndRun != 0) {
        // Started for one capture: a clipboard whose owner has not answered yet is worth
        // a short wait before ending without it.
        if (tookNone && clipboard.reading() && ++unreadableTicks_ * kFirstTickMs < kHitAndRunPatienceMs) {
            Timer1.setInterval(kFirstTickMs);
            return;
        }
        program_.closeMainWindow();
        return;
    }
    rearm();
    restUnlessNeeded();
}

void FrmToText::captureAll(std::vector<platform::ClipboardCopy> copies)
{
    auto& s = program_.Settings;
    auto& clipboard = program_.platform.clipboard;
    bool captured = false;
    // The token of the last copy, when that copy was captured: the only one to put back.
    std::optional<platform::ClipboardToken> handled;
    for (auto& copy : copies) {
        handled.reset();
        // A file list or a secret counts as no text; so does the same text twice in a row.
        if (copy.mark != platform::ClipboardMark::none || copy.text.empty() || copy.text == txtTMP.text())
            continue;
        capture(copy);
        captured = true;
        handled = copy.token;
    }
    // Only while the clipboard still holds what was read: a newer copy is never replaced.
    if (handled) {
        if (s.AutoClear == 0)
            clipboard.putBack(*handled, txtTMP.text());
        else
            clipboard.clearIf(*handled);
    }
    if (captured && text::numberEquals(s.BeepOn, 1))
        program_.platform.shell.beep();
}

void FrmToText::capture(platform::ClipboardCopy& copy)
{
    auto& s = program_.Settings;
    std::string text = std::move(copy.text);
    if (s.JavaScriptStripper == 1)
        text = withoutJavascript(std::move(text));

    copiedAt_ = copy.copiedAt;       // the log's stamps are the copy's
    txtTMP.setText(std::move(text)); // shows, pops up and logs before going on
    if (text::numberEquals(s.LinkCatcherOn, 1) && IsLink(txtTMP.text(), s.StrictUrls))
        handOverLink(program_, txtTMP.text());
    copiedAt_.reset();
}

void FrmToText::restUnlessNeeded()
{
    if (nextTickIdle())
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
    // A read under way is waited for on the beat, whether or not its end is announced; a
    // change made during the tick wakes the next.
    return s.HitAndRun == 0 && !clipboard.reading() && !announced_ && txtTMP.revision() == readRevision_;
}

void FrmToText::rearm()
{
    for (int choice = 1; choice <= 5; ++choice)
        if (text::numberEquals(program_.Settings.Frequency, choice))
            Timer1.setInterval(choice * 1000);
}

} // namespace twk::capture
