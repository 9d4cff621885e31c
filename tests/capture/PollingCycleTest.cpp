#include "configuration/LoadSettings.h"
#include "fakes/ProgramFixture.h"

#include <cstdint>
#include <utility>
#include <vector>

using namespace twk;

namespace {

class PollingCycleTest : public twk::testing::ProgramFixture {
protected:
    void startWith(const std::string& lines)
    {
        start(lines, "[LINKCATCHER]\r\nON=1\r\nSTRICTURLS=1\r\nAUTOSAVE=0\r\n");
    }
    std::string onOffCaption() { return form1().mnuBar.find("mnuOnOff")->caption; }
};

} // namespace

TEST_F(PollingCycleTest, TheTextOnTheClipboardAtStartIsCapturedOnTheFirstTick)
{
    clipboard.copy("at start");
    startWith("ON=1\r\nBEEPON=1\r\nFREQUENCY=3\r\nAUTOSAVE=0\r\n");
    EXPECT_EQ(onOffCaption(), "");
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "at start");
    EXPECT_EQ(viewer().Text1.text(), "at start");
    EXPECT_EQ(clipboard.content, "at start");
    EXPECT_EQ(clipboard.putBacks, 1) << "other formats are dropped by the capture";
    EXPECT_EQ(clipboard.clears, 0) << "the put-back replaces them in one step";
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(onOffCaption(), "Turn Off TWK");
    EXPECT_EQ(viewer().Timer1.interval(), 3000);
}

TEST_F(PollingCycleTest, TheSameTextIsCapturedOnceEvenWhenAutoClearEmptiedTheClipboard)
{
    startWith("ON=1\r\nBEEPON=1\r\nAUTOCLEAR=1\r\nAUTOSAVE=0\r\n");
    copy("once");
    EXPECT_FALSE(clipboard.content.has_value());
    copy("once");
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(clipboard.content, "once");
    copy("ONCE");
    EXPECT_EQ(viewer().txtTMP.text(), "ONCE") << "a change of letter case is new";
}

TEST_F(PollingCycleTest, CaptureOffOnlyKeepsTheCaptionCurrent)
{
    startWith("ON=0\r\nHITNRUN=1\r\nFREQUENCY=2\r\n");
    copy("ignored");
    EXPECT_EQ(onOffCaption(), "Turn On TWK");
    EXPECT_EQ(viewer().txtTMP.text(), "");
    EXPECT_EQ(viewer().Timer1.interval(), 50);
    EXPECT_FALSE(program().ended()) << "hit and run waits for capture";
    form1().mnuOnOff_Click();
    tick();
    EXPECT_TRUE(program().ended());
}

TEST_F(PollingCycleTest, AnOddCaptureValueChangesNoCaptionButCaptures)
{
    startWith("ON=7\r\n");
    copy("x");
    EXPECT_EQ(onOffCaption(), "");
    EXPECT_EQ(viewer().txtTMP.text(), "x");
}

TEST_F(PollingCycleTest, HitAndRunEndsAfterOneTickLoggingWhateverTextWasAlreadyThere)
{
    startWith("ON=1\r\nHITNRUN=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder.file("\r\n"));
    tick();
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(twk::testing::fileExists(folder.file("twk.txt")));
    clipboard.copy("http://caught");
    restart();
    tick();
    EXPECT_TRUE(program().ended());
    EXPECT_EQ(twk::testing::readFile(folder.file("twk.txt")), "[20261205140307]\r\nTEXT=http://caught\r\n");
}

TEST_F(PollingCycleTest, AnEmptyOrUnreadableClipboardCapturesNothingButRearmsAndIsReadAtALaterTick)
{
    startWith("ON=1\r\nFREQUENCY=5\r\n");
    tick();
    EXPECT_EQ(viewer().Timer1.interval(), 5000);
    clipboard.silent = true;
    clipboard.copy("slow owner");
    program().Settings.Frequency = "1";
    tick();
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "");
    EXPECT_EQ(viewer().Timer1.interval(), 1000);
    clipboard.answer();
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "slow owner");
}

TEST_F(PollingCycleTest, AFrequencyOutsideOneToFiveLeavesTheInterval)
{
    startWith("ON=1\r\nFREQUENCY=2\r\n");
    tick();
    for (const std::string frequency : {"9", "", "0", "two", " 4 "}) {
        program().Settings.Frequency = frequency;
        tick();
    }
    EXPECT_EQ(viewer().Timer1.interval(), 4000);
}

TEST_F(PollingCycleTest, JavascriptLinksAreRewrittenBeforeEverythingElseSeesThemUnlessTheStripperIsOff)
{
    startWith("ON=1\r\nJS=1\r\n");
    copy("javascript:window.open('http://Example.com/Page')");
    EXPECT_EQ(viewer().txtTMP.text(), "http://Example.com/Page");
    EXPECT_EQ(clipboard.content, "http://Example.com/Page");
    EXPECT_EQ(catcher().Text1.text(), "http://Example.com/Page");
    program().Settings.JavaScriptStripper = 0;
    copy("javascript:window.open('http://x')");
    EXPECT_EQ(viewer().txtTMP.text(), "javascript:window.open('http://x')");
}

TEST_F(PollingCycleTest, CaughtLinksGoIntoTheCatcherOnALineEachWithoutDoubles)
{
    startWith("ON=1\r\n");
    for (const char* text : {"http://a", "http://a", "not a link", "www.b", "http://a"})
        copy(text);
    EXPECT_EQ(catcher().Text1.text(), "http://a\r\nwww.b\r\nhttp://a");
    EXPECT_FALSE(catcher().visible()) << "the hand-over does not show the catcher";
    form1().mnuClearURL_Click();
    copy("http://c");
    EXPECT_EQ(catcher().Text1.text(), "http://c");
}

TEST_F(PollingCycleTest, LinkCatcherOffCatchesNothing)
{
    startWith("ON=1\r\n");
    program().Settings.LinkCatcherOn = "0";
    copy("http://short");
    EXPECT_EQ(catcher().Text1.text(), "");
    EXPECT_EQ(viewer().txtTMP.text(), "http://short");
}

TEST_F(PollingCycleTest, TicksArrivingWhileAMessageIsOpenWaitTheirTurn)
{
    // A log that cannot be written shows its message inside the tick.
    startWith("ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nHITNRUN=1\r\nSAVEDFILEPATH=" + folder.file("missing/\r\n"));
    int nested = 0;
    dialogs.onMessage = [&] {
        ++nested;
        tick();
    };
    copy("text");
    EXPECT_GE(nested, 1);
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(program().frmToText.loaded());
}

TEST_F(PollingCycleTest, AnUnchangedClipboardIsNotReadAgainAndACaptureReadsItOnce)
{
    startWith("ON=1\r\nJS=1\r\n");
    copy("javascript:window.open('http://x')");
    EXPECT_EQ(clipboard.reads, 1) << "the rewrite and the record use the one read";
    EXPECT_EQ(viewer().txtTMP.text(), "http://x");
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(clipboard.reads, 1) << "the text the capture put back is no news";
    clipboard.copy("http://x"); // copied again elsewhere: read, found not new
    tick();
    tick();
    EXPECT_EQ(clipboard.reads, 2);
    EXPECT_EQ(clipboard.putBacks, 1);
}

TEST_F(PollingCycleTest, FileListsAndSecretsAreNeitherReadNorTouched)
{
    startWith("ON=1\r\nAUTOCLEAR=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nBEEPON=1\r\nSAVEDFILEPATH=" + folder.path() +
              "/\r\n");
    for (const auto mark : {platform::ClipboardMark::fileList, platform::ClipboardMark::secret}) {
        clipboard.copy(mark == platform::ClipboardMark::secret ? "http://hunter2.example" : "/home/me/a.txt", mark);
        tick();
        tick();
        EXPECT_EQ(clipboard.marking, mark);
    }
    EXPECT_EQ(clipboard.reads, 0);
    EXPECT_EQ(clipboard.clears, 0);
    EXPECT_EQ(clipboard.content, "http://hunter2.example");
    EXPECT_EQ(viewer().Text1.text(), "");
    EXPECT_EQ(catcher().Text1.text(), "");
    EXPECT_EQ(shell.beeps, 0);
    EXPECT_FALSE(twk::testing::fileExists(folder.file("twk.txt")));
    clipboard.copy("http://hunter2.example"); // the same text, now plain
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "http://hunter2.example");
}

TEST_F(PollingCycleTest, HitAndRunWaitsABoundedTimeForAClipboardItCannotReadYet)
{
    startWith("ON=1\r\nHITNRUN=1\r\n");
    clipboard.silent = true;
    copy("late");
    EXPECT_FALSE(program().ended());
    EXPECT_EQ(viewer().Timer1.interval(), capture::kFirstTickMs);
    clipboard.answer();
    tick();
    EXPECT_TRUE(program().ended());
    EXPECT_EQ(clipboard.putBacks, 1) << "captured before ending";

    clipboard.silent = true; // an owner that never answers
    restart();
    int ticks = 0;
    for (; !program().ended() && ticks < 1000; ++ticks)
        tick();
    EXPECT_TRUE(program().ended());
    EXPECT_EQ(ticks * capture::kFirstTickMs, capture::kHitAndRunPatienceMs);
}

TEST_F(PollingCycleTest, TheTimerDozesWhileNothingItReadsCanChangeAndWakesForEachChange)
{
    startWith("ON=1\r\nFREQUENCY=2\r\n");
    auto& timer = viewer().Timer1;
    copy("first");
    EXPECT_EQ(viewer().txtTMP.text(), "first");
    EXPECT_TRUE(timer.dozing());
    clipboard.copy("second");
    EXPECT_FALSE(timer.dozing()) << "an announced change";
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "second");
    EXPECT_TRUE(timer.dozing());

    form1().mnuClearAll_Click();
    EXPECT_FALSE(timer.dozing()) << "the next tick compares with an empty txtTMP";
    tick();
    EXPECT_TRUE(timer.dozing());
    form1().mnuOnOff_Click();
    EXPECT_FALSE(timer.dozing()) << "capture off";
    tick();
    EXPECT_TRUE(timer.dozing()) << "ticks with capture off only keep the caption";
    configuration::LoadSettings(program());
    EXPECT_FALSE(timer.dozing()) << "reloaded settings";
    tick();
    EXPECT_EQ(viewer().Timer1.interval(), 2000);

    clipboard.silent = true;
    copy("held");
    EXPECT_FALSE(timer.dozing()) << "a read under way is waited for";
    clipboard.answer();
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "held");
    clipboard.announcing = false;
    copy("unannounced");
    tick();
    EXPECT_FALSE(timer.dozing()) << "a clipboard that does not announce its changes is polled";
}

TEST(TimerBeat, AWokenTimerKeepsTheBeatItWouldHaveKept)
{
    ui::Timer timer(1000);
    for (const auto& [sinceTick, wait] : std::vector<std::pair<std::int64_t, int>>{
             {0, 0}, {1, 999}, {400, 600}, {999, 1}, {1000, 0}, {61'250, 750}, {-5, 0}})
        EXPECT_EQ(timer.untilNextBeat(sinceTick), wait) << sinceTick;
}

TEST_F(PollingCycleTest, EveryCopyBetweenTwoTicksIsCapturedInOrderUnderTheSecondItWasCopied)
{
    startWith("ON=1\r\nAM=1\r\nBEEPON=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder.file("\r\n"));
    tick();
    for (const auto& [text, second] : std::vector<std::pair<std::string, int>>{
             {"one", 1}, {"two", 1}, {"two", 2}, {"http://three.example", 2}, {"one", 3}}) {
        environment.clock.second = second;
        clipboard.copy(text);
    }
    environment.clock.second = 9; // the tick comes later
    tick();
    EXPECT_EQ(twk::testing::readFile(folder.file("twk.txt")),
              "[20261205140301]\r\nTEXT=one\r\n[20261205140301_2]\r\nTEXT=two\r\n"
              "[20261205140302]\r\nTEXT=http://three.example\r\n[20261205140303]\r\nTEXT=one\r\n")
        << "the same text twice in a row is one capture; the same text later is another";
    EXPECT_EQ(viewer().Text1.text(), "\r\none\r\ntwo\r\nhttp://three.example\r\none");
    EXPECT_EQ(catcher().Text1.text(), "http://three.example");
    EXPECT_EQ(shell.beeps, 1) << "one beep for the tick";
    EXPECT_EQ(clipboard.putBacks, 1) << "only the last copy is put back";
    EXPECT_EQ(clipboard.content, "one");
}

TEST_F(PollingCycleTest, ANewerCopyIsNeverReplacedByThePutBackOrTheClear)
{
    // The log cannot be written: its box is open while the user copies again.
    startWith("ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder.file("missing/\r\n"));
    for (const int autoClear : {0, 1}) {
        SCOPED_TRACE("AutoClear " + std::to_string(autoClear));
        program().Settings.AutoClear = static_cast<std::uint8_t>(autoClear);
        const auto older = "older " + std::to_string(autoClear);
        const auto newer = "newer " + std::to_string(autoClear);
        bool copiedDuringTheBox = false;
        dialogs.onMessage = [&] {
            if (!std::exchange(copiedDuringTheBox, true))
                clipboard.copy(newer);
            tick(); // the timer fires while the box is open
        };
        clipboard.copy(older);
        const int refusals = clipboard.refusals;
        tick();
        EXPECT_EQ(clipboard.content, newer);
        EXPECT_EQ(clipboard.refusals, refusals + 1);
        EXPECT_EQ(viewer().txtTMP.text(), older) << "the newer copy waits for the next tick";
        tick();
        EXPECT_EQ(viewer().txtTMP.text(), newer);
        EXPECT_EQ(clipboard.content, autoClear == 0 ? std::optional<std::string>(newer) : std::nullopt);
    }
}

TEST_F(PollingCycleTest, WithCaptureOffNothingIsReadNotEvenWhatWasCopiedWhenItIsTurnedOn)
{
    clipboard.copy("on the clipboard at start");
    startWith("ON=0\r\n");
    tick();
    copy("a password typed while off");
    EXPECT_EQ(clipboard.reads, 0);
    form1().mnuOnOff_Click();
    EXPECT_EQ(clipboard.reads, 0) << "turning capture on reads nothing by itself";
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "");
    clipboard.copy("after");
    form1().mnuOnOff_Click(); // off before the tick: the copy read is dropped
    tick();
    form1().mnuOnOff_Click();
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "");
    copy("captured");
    EXPECT_EQ(viewer().txtTMP.text(), "captured");
}

TEST_F(PollingCycleTest, AClipboardReadOnlyAtTheTickGivesItsLatestTextOncePerChange)
{
    clipboard.readsAtCopy = false;
    clipboard.announcing = false;
    clipboard.copy("at start");
    startWith("ON=1\r\nAUTOCLEAR=0\r\n");
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "at start");
    const int reads = clipboard.reads;
    tick();
    EXPECT_EQ(clipboard.reads, reads) << "the put-back is no news";
    clipboard.copy("one");
    copy("two");
    EXPECT_EQ(viewer().Text1.text(), "two");
    clipboard.locked = true;
    copy("three");
    EXPECT_EQ(viewer().txtTMP.text(), "two") << "not readable yet";
    clipboard.locked = false;
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "three");
    form1().mnuOnOff_Click();
    clipboard.copy("while off");
    form1().mnuOnOff_Click();
    tick();
    EXPECT_EQ(viewer().txtTMP.text(), "three");
}
