#include "ui/CheckBox.h"
#include "ui/OptionButton.h"
#include "ui/TextBox.h"

#include <gtest/gtest.h>

namespace twk::ui {
namespace {

// Loading a window sets its boxes from code, and the handlers that enable
// other controls must run then too, but only on a real change.
TEST(ControlsTest, ACheckBoxRaisesItsClickOnEveryChangeMadeInCode)
{
    CheckBox box;
    std::vector<int> seen;
    box.onClick = [&] { seen.push_back(box.value()); };
    box.setValue(1);
    box.setValue(1);
    box.setValue(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST(ControlsTest, SelectingAnOptionClearsTheRestOfItsGroupOnly)
{
    OptionButton a, b, c, other;
    OptionGroup group({&a, &b, &c});
    OptionGroup second({&other});
    other.select();
    a.select();
    b.select();
    EXPECT_FALSE(a.selected());
    EXPECT_TRUE(b.selected());
    EXPECT_FALSE(c.selected());
    EXPECT_TRUE(other.selected());
}

// A widget that hears of an append adds the new part; the box's own handler
// runs exactly as for any other change.
TEST(ControlsTest, AppendingTellsTheWidgetOnlyTheNewPartAndRunsTheHandlerOnce)
{
    TextBox box;
    box.setText("first");
    std::vector<std::string> heard;
    int changes = 0, refreshes = 0;
    box.onChange = [&] { ++changes; };
    box.onDisplay = [&] { ++refreshes; };
    box.onAppended = [&](std::string_view added) { heard.emplace_back(added); };
    const auto before = box.revision();

    box.append("\r\nsecond");
    box.append("");
    EXPECT_EQ(box.text(), "first\r\nsecond");
    EXPECT_EQ(heard, (std::vector<std::string>{"\r\nsecond"}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(box.revision(), before + 1);

    box.onAppended = nullptr; // a widget that knows no better is shown the whole text
    box.append("!");
    EXPECT_EQ(refreshes, 1);
    box.setText(box.text()); // no change, no new revision
    EXPECT_EQ(box.revision(), before + 2);
    EXPECT_EQ(changes, 2);
}

// The viewer shows the captured text through a second box: one text, two
// boxes, and neither sees the other's later changes.
TEST(ControlsTest, ASharedTextIsOneTextUntilEitherBoxChangesIt)
{
    TextBox captured, shown;
    int changes = 0;
    shown.onChange = [&] { ++changes; };
    captured.setText(std::string(1000, 'x'));
    shown.setTextOf(captured);
    EXPECT_EQ(shown.text().data(), captured.text().data()) << "shared, not copied";
    EXPECT_EQ(changes, 1);
    shown.setTextOf(captured);
    EXPECT_EQ(changes, 1) << "the same text is no change";

    shown.append("\r\nmore");
    EXPECT_EQ(captured.text(), std::string(1000, 'x'));
    EXPECT_EQ(shown.text(), std::string(1000, 'x') + "\r\nmore");
    captured.setTextOf(shown);
    captured.setText("new");
    EXPECT_EQ(shown.text(), std::string(1000, 'x') + "\r\nmore");
    captured.append("er");
    EXPECT_EQ(captured.text(), "newer");
    EXPECT_EQ(changes, 2);
}

// The append file is appended to while the viewer's text only grows; a long
// text must not be copied for every line added to it.
TEST(ControlsTest, ALongTextGrowsInPlaceAndKeepsItsLineageUntilSetAnew)
{
    const auto same = [](const std::weak_ptr<const std::string>& a, const std::weak_ptr<const std::string>& b) {
        return !a.owner_before(b) && !b.owner_before(a);
    };
    TextBox box, other;
    box.append(std::string(1 << 20, 'x'));
    const auto* where = box.text().data();
    const auto grown = box.lineage();
    for (int i = 0; i < 100; ++i)
        box.append("\r\nanother line");
    EXPECT_EQ(box.text().data(), where);
    EXPECT_TRUE(same(grown, box.lineage()));

    other.setTextOf(box);
    box.append("!"); // copied: the other box keeps its text, and the lineage
    EXPECT_TRUE(same(grown, other.lineage()));
    EXPECT_FALSE(same(grown, box.lineage()));
    const auto copied = box.lineage();
    box.setText(box.text() + "\r\nset anew");
    EXPECT_FALSE(same(copied, box.lineage()));
}

} // namespace
} // namespace twk::ui
