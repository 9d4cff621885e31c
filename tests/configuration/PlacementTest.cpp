#include "configuration/Placement.h"
#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::writeFile;

namespace {

class PlacementTest : public twk::testing::ProgramFixture {
protected:
    PlacementTest() { program().Settings.IniPath = iniPath(); }
    ui::Window window{"probe", {100, 200, 3000, 2000}};
};

} // namespace

TEST_F(PlacementTest, SaveWritesFiveKeysInOrderWhateverTheState)
{
    window.move({-120, 0, 6720.5F, 2160});
    window.setState(ui::WindowState::Maximized);
    configuration::PlacementSave(program(), window, "frmAbout");
    EXPECT_EQ(ini(), "[frmAbout]\r\nLeft=-120\r\nTop=0\r\nWidth=6720.5\r\nHeight=2160\r\nWindowState=2\r\n");
    EXPECT_EQ(program().Settings.LastIniResult, 1);
}

TEST_F(PlacementTest, RestoreAppliesBoundsThenState)
{
    writeFile(iniPath(), "[frmAbout]\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nWindowState=1\r\n");
    configuration::PlacementRestore(program(), window, "frmAbout");
    EXPECT_EQ(window.bounds(), (ui::Bounds{1, 2, 3, 4}));
    EXPECT_EQ(window.state(), ui::WindowState::Minimized);
}

TEST_F(PlacementTest, AnIncompleteRecordMovesNothingButStillSetsTheState)
{
    writeFile(iniPath(), "[frmAbout]\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nWindowState=2\r\n");
    configuration::PlacementRestore(program(), window, "frmAbout");
    EXPECT_EQ(window.bounds(), (ui::Bounds{100, 200, 3000, 2000}));
    EXPECT_EQ(window.state(), ui::WindowState::Maximized);
}

TEST_F(PlacementTest, NonsenseValuesAreIgnored)
{
    writeFile(iniPath(), "[frmAbout]\r\nLeft=x\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nWindowState=7\r\n");
    configuration::PlacementRestore(program(), window, "frmAbout");
    EXPECT_EQ(window.bounds(), (ui::Bounds{100, 200, 3000, 2000}));
    EXPECT_EQ(window.state(), ui::WindowState::Normal);
}

TEST_F(PlacementTest, AWriteProtectedIniFileLosesTheSaveSilently)
{
    writeFile(iniPath(), "[frmAbout]\r\nLeft=1\r\n");
    files.failPaths.insert(iniPath());
    configuration::PlacementSave(program(), window, "frmAbout");
    EXPECT_EQ(ini(), "[frmAbout]\r\nLeft=1\r\n");
    EXPECT_EQ(program().Settings.LastIniResult, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}
