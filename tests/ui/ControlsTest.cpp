#include "ui/CheckBox.h"
#include "ui/OptionButton.h"

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

} // namespace
} // namespace twk::ui
