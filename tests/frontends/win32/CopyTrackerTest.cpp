#include "CopyTracker.h"

#include <gtest/gtest.h>

namespace twk::win32 {
namespace {

using Result = ClipboardRead::Result;

ClipboardRead announced(std::uint32_t sequence, std::string text, Result result = Result::read)
{
    ClipboardRead read;
    read.result = result;
    read.sequence = sequence;
    read.text = std::move(text);
    read.announcedAt = {2026, 12, 7, 20, 15, static_cast<int>(sequence % 60)};
    return read;
}

ClipboardRead requested(std::uint32_t tag, std::uint32_t sequence, std::string text, Result result = Result::read)
{
    auto read = announced(sequence, std::move(text), result);
    read.requested = true;
    read.tag = tag;
    return read;
}

std::vector<std::string> textsOf(const std::vector<platform::ClipboardCopy>& copies)
{
    std::vector<std::string> texts;
    for (const auto& copy : copies)
        texts.push_back(copy.text);
    return texts;
}

std::vector<std::string> take(CopyTracker& tracker, std::uint32_t present)
{
    bool askAgain = false;
    return textsOf(tracker.take(present, askAgain));
}

TEST(CopyTracker, EveryCopyReadBetweenTwoTicksIsTakenInOrderWithItsSecondAndToken)
{
    CopyTracker tracker;
    EXPECT_TRUE(tracker.setCapturing(true, 10)) << "the text there at start is asked for";
    tracker.arrived(requested(tracker.asking(), 10, "at start"));
    tracker.arrived(announced(11, "first"));
    tracker.arrived(announced(12, "second"));
    EXPECT_FALSE(tracker.reading(12, false));
    bool askAgain = true;
    const auto copies = tracker.take(12, askAgain);
    EXPECT_FALSE(askAgain);
    EXPECT_EQ(textsOf(copies), (std::vector<std::string>{"at start", "first", "second"}));
    EXPECT_EQ(copies[2].token, 12u);
    ASSERT_TRUE(copies[2].copiedAt);
    EXPECT_EQ(copies[2].copiedAt->second, 12);
    EXPECT_TRUE(take(tracker, 12).empty()) << "taken once";
}

TEST(CopyTracker, CaptureOffDropsWhatWaitsAndWhatIsUnderWayAndLaterReadsOnlyNewChanges)
{
    CopyTracker tracker;
    tracker.setCapturing(true, 1);
    const auto tag = tracker.asking();
    tracker.arrived(announced(2, "waiting"));
    EXPECT_FALSE(tracker.setCapturing(false, 2));
    EXPECT_TRUE(take(tracker, 2).empty());
    EXPECT_FALSE(tracker.reading(5, false)) << "nothing is read while off";
    tracker.arrived(announced(3, "copied while off"));

    EXPECT_FALSE(tracker.setCapturing(true, 4)) << "only the first turn on reads the present content";
    tracker.arrived(requested(tag, 1, "asked before the turn off"));
    tracker.arrived(announced(4, "the content at the turn on, announced late"));
    tracker.arrived(announced(5, "after"));
    EXPECT_EQ(take(tracker, 5), (std::vector<std::string>{"after"}));
}

TEST(CopyTracker, AFailedReadIsAskedAgainAtTheNextTickOnlyWhileItsContentIsThere)
{
    CopyTracker tracker;
    tracker.setCapturing(true, 1);
    tracker.arrived(requested(tracker.asking(), 1, "", Result::failed));
    EXPECT_TRUE(tracker.reading(1, false)) << "the tick must not doze on a content not read";
    bool askAgain = false;
    tracker.take(1, askAgain);
    EXPECT_TRUE(askAgain);
    const auto tag = tracker.asking();
    tracker.take(1, askAgain);
    EXPECT_FALSE(askAgain) << "not again while that read is under way";
    tracker.arrived(requested(tag, 1, "read at last"));
    EXPECT_EQ(take(tracker, 1), (std::vector<std::string>{"read at last"}));

    tracker.arrived(announced(2, "", Result::failed));
    tracker.arrived(announced(3, "newer"));
    EXPECT_EQ(take(tracker, 3), (std::vector<std::string>{"newer"}));
    tracker.take(3, askAgain);
    EXPECT_FALSE(askAgain) << "the failed content was replaced: nothing to ask again";
    EXPECT_FALSE(tracker.reading(3, false));
}

TEST(CopyTracker, AnAnnouncedChangeIsReadingUntilHandledUnlessItIsOurOwn)
{
    CopyTracker tracker;
    tracker.setCapturing(true, 7);
    tracker.arrived(requested(tracker.asking(), 7, "present"));
    EXPECT_FALSE(tracker.reading(7, false));
    EXPECT_TRUE(tracker.reading(8, false));
    EXPECT_FALSE(tracker.reading(8, true)) << "our own put-back is no change to read";
    tracker.arrived(announced(8, "", Result::ours));
    EXPECT_FALSE(tracker.reading(8, false));
    EXPECT_EQ(take(tracker, 8), (std::vector<std::string>{"present"}));
}

TEST(CopyTracker, SequenceNumbersThatWrapStillOrderTheTurnOn)
{
    CopyTracker tracker;
    tracker.setCapturing(true, 0xFFFFFFF0u);
    tracker.setCapturing(false, 0xFFFFFFF0u);
    tracker.setCapturing(true, 0xFFFFFFFEu);
    tracker.arrived(announced(0xFFFFFFFDu, "while off"));
    tracker.arrived(announced(3, "after the wrap"));
    EXPECT_EQ(take(tracker, 3), (std::vector<std::string>{"after the wrap"}));
}

} // namespace
} // namespace twk::win32
