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

TEST_F(PlacementTest, RestoreAppliesACompleteSaneRecordAndTheStateEvenWithoutOne)
{
    const ui::Bounds unmoved{100, 200, 3000, 2000};
    const std::string huge(41, '9');
    struct Case {
        std::string record;
        ui::Bounds bounds;
        ui::WindowState state;
    };
    for (const auto& [record, bounds, state] : std::vector<Case>{
             {"Left=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nWindowState=1\r\n", {1, 2, 3, 4}, ui::WindowState::Minimized},
             {"Left=1\r\nTop=2\r\nWidth=3\r\nWindowState=2\r\n", unmoved, ui::WindowState::Maximized},
             {"Left=x\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nWindowState=7\r\n", unmoved, ui::WindowState::Normal},
             {"Left=" + huge + "\r\nTop=2\r\nWidth=3000\r\nHeight=2000\r\nWindowState=1\r\n", unmoved,
              ui::WindowState::Minimized},
             {"Left=1\r\nTop=2\r\nWidth=-3000\r\nHeight=2000\r\nWindowState=1\r\n", unmoved,
              ui::WindowState::Minimized},
             {"Left=1\r\nTop=2\r\nWidth=3000\r\nHeight=0\r\nWindowState=1\r\n", unmoved, ui::WindowState::Minimized},
         }) {
        writeFile(iniPath(), "[frmAbout]\r\n" + record);
        ui::Window probe{"probe", unmoved};
        configuration::PlacementRestore(program(), probe, "frmAbout");
        EXPECT_EQ(probe.bounds(), bounds) << record;
        EXPECT_EQ(probe.state(), state) << record;
    }
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

TEST_F(PlacementTest, ARecordFromALargerScreenComesBackWithItsTitleBarAndAnInchWithinReach)
{
    // The fake screen is 19200 x 14400 twips.
    writeFile(iniPath(), "[frmAbout]\r\nLeft=40000\r\nTop=30000\r\nWidth=30000\r\nHeight=3000\r\n"
                         "[frmOptions]\r\nLeft=-50000\r\nTop=-3000\r\nWidth=6000\r\nHeight=3000\r\n"
                         "[frmtotext]\r\nLeft=-1000\r\nTop=12000\r\nWidth=6000\r\nHeight=3000\r\n");
    configuration::PlacementRestore(program(), window, "frmAbout");
    EXPECT_EQ(window.bounds(), (ui::Bounds{17760, 12960, 19200, 3000}));
    configuration::PlacementRestore(program(), window, "frmOptions");
    EXPECT_EQ(window.bounds(), (ui::Bounds{-4560, 0, 6000, 3000}));
    configuration::PlacementRestore(program(), window, "frmtotext");
    EXPECT_EQ(window.bounds(), (ui::Bounds{-1000, 12000, 6000, 3000})) << "partly off, but within reach: kept";
}
