#include "configuration/FrmOptions.h"
#include "fakes/ProgramFixture.h"

using namespace twk;

namespace {

class StartWithDesktopTest : public twk::testing::ProgramFixture {
protected:
    configuration::FrmOptions& open()
    {
        form1().mnuOptions_Click();
        return *program().frmOptions;
    }
};

} // namespace

TEST_F(StartWithDesktopTest, TheBoxShowsTheDesktopsOwnEntryEachTimeTheWindowOpens)
{
    start("ON=1\r\n");
    EXPECT_FALSE(open().Check14.ticked());
    open().Command3_Click();
    autostart.on = true; // switched on elsewhere, in the desktop's own settings
    EXPECT_TRUE(open().Check14.ticked());
    EXPECT_TRUE(autostart.calls.empty()) << "opening changes nothing";
}

TEST_F(StartWithDesktopTest, OnlySaveChangesActsOnTheBoxAndTheIniFileNeverHoldsIt)
{
    start();
    const auto firstRun = ini();
    auto& options = open();
    options.Check14.setValue(1);
    options.Command3_Click();
    EXPECT_TRUE(autostart.calls.empty()) << "cancel keeps the entry as it was";

    open().Check14.setValue(1);
    program().frmOptions->Command2_Click();
    EXPECT_EQ(autostart.calls, std::vector<bool>{true});
    EXPECT_TRUE(autostart.on);
    open().Check14.setValue(0);
    program().frmOptions->Command2_Click();
    EXPECT_EQ(autostart.calls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(autostart.on);
    // Saving the first run's values keeps its bytes; only the window's placement follows them.
    const auto after = ini();
    EXPECT_EQ(after.substr(0, firstRun.size()), firstRun);
    EXPECT_TRUE(after.substr(firstRun.size()).starts_with("[frmOptions]")) << after.substr(firstRun.size());
}

TEST_F(StartWithDesktopTest, AnEntryThatCannotBeChangedLeavesTheIniResultAndItsMessageAlone)
{
    start();
    autostart.works = false;
    auto& options = open();
    options.Check14.setValue(1);
    options.Command2_Click();
    EXPECT_EQ(autostart.calls, std::vector<bool>{true});
    EXPECT_TRUE(dialogs.messages.size() == 1 && dialogs.messages[0].text.starts_with("Welcome"))
        << "no settings error for what is not a setting";
    EXPECT_EQ(program().Settings.LastIniResult, 1);
    EXPECT_FALSE(program().frmOptions.loaded());
}
