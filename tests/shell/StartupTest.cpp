#include "about/FrmAbout.h"
#include "fakes/ProgramFixture.h"

using namespace twk;

using StartupTest = twk::testing::ProgramFixture;

TEST_F(StartupTest, ViewersSizeToTheScreenAndTheCatcherSitsUnderTheViewer)
{
    start("AUTOOOPENVIEWERS=1\r\nXYPOS=0\r\n");
    EXPECT_TRUE(viewer().visible());
    EXPECT_TRUE(catcher().visible());
    EXPECT_EQ(viewer().bounds(), (ui::Bounds{(19200 - 6720) / 2.0F, (14400 - 2160) / 2.0F, 6720, 2160}));
    EXPECT_EQ(catcher().bounds().top, viewer().bounds().top + viewer().bounds().height);
    EXPECT_EQ(catcher().bounds().left, viewer().bounds().left);
    EXPECT_EQ(viewer().Text1.bounds().width, 6720);
    EXPECT_EQ(catcher().Text1.bounds().top, 120);
}

TEST_F(StartupTest, RememberedPlacesAreKept)
{
    start("AUTOOOPENVIEWERS=1\r\nXYPOS=1\r\n",
          "[frmtotext]\r\nLeft=10\r\nTop=20\r\nWidth=3000\r\nHeight=1000\r\nWindowState=0\r\n"
          "[frmlinkcatcher]\r\nLeft=30\r\nTop=40\r\nWidth=3000\r\nHeight=1000\r\nWindowState=2\r\n");
    EXPECT_EQ(viewer().bounds(), (ui::Bounds{10, 20, 3000, 1000}));
    EXPECT_EQ(catcher().bounds(), (ui::Bounds{30, 40, 3000, 1000}));
    EXPECT_EQ(catcher().state(), ui::WindowState::Maximized);
}

TEST_F(StartupTest, WithoutARecordTheViewerKeepsItsDefaultPlaceAndTheCatcherIsCentred)
{
    start("AUTOOOPENVIEWERS=1\r\nXYPOS=1\r\n");
    EXPECT_EQ(viewer().bounds(), (ui::Bounds{0, 0, 6720, 2160}));
    EXPECT_EQ(catcher().bounds(), (ui::Bounds{6240, 6120, 6720, 2160}));
}

TEST_F(StartupTest, ASecondInstanceBringsTheFirstForwardAndLeavesWithoutATrace)
{
    instances.otherRunning = true;
    instances.otherWindowClass = "ThunderRT6Main";
    instances.otherTitle = "Tarnwick 3.0";
    start();
    EXPECT_TRUE(program().ended());
    EXPECT_EQ(instances.titles, std::vector<std::string>{"unwanted instance"});
    EXPECT_EQ(instances.searches, (std::vector<std::string>{"ThunderRTMain|Tarnwick 3.0", "ThunderRT5Main|Tarnwick 3.0",
                                                            "ThunderRT6Main|Tarnwick 3.0"}));
    EXPECT_EQ(instances.broughtForward, std::vector<platform::WindowId>{42});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "This instance of TWK will terminate because another running instance was detected.");
    EXPECT_EQ(dialogs.messages[0].title, "unwanted instance");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_TRUE(tray.events.empty());
    EXPECT_FALSE(twk::testing::fileExists(iniPath()));
    EXPECT_FALSE(program().frmToText.loaded());
}

TEST_F(StartupTest, AnInstanceThatFindsNoWindowRunsOnUnderTheUnwantedTitle)
{
    instances.otherRunning = true;
    start();
    EXPECT_FALSE(program().ended());
    EXPECT_EQ(dialogs.messages.at(0).title, "unwanted instance");
    EXPECT_TRUE(program().frmToText.loaded());
    form1().mnuAbout_Click();
    EXPECT_EQ(program().frmAbout->caption(), "About unwanted instance");
}

TEST_F(StartupTest, ViewersLoadHiddenAndExitRemovesTheIconFirstThenClosesThemSavingTheirPlaces)
{
    start("XYPOS=0\r\n");
    EXPECT_FALSE(viewer().visible());
    EXPECT_FALSE(catcher().visible());
    EXPECT_EQ(viewer().Timer1.interval(), 50) << "polling starts soon after";
    form1().mnuExit_Click();
    EXPECT_TRUE(program().ended());
    EXPECT_EQ(tray.events, (std::vector<std::string>{"add TWK", "remove"}));
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"load TWK", "load Recent Clipboard Text", "load Link Catcher",
                                        "unload Link Catcher", "unload Recent Clipboard Text", "unload TWK"}));
    const auto file = ini();
    EXPECT_LT(file.find("[frmlinkcatcher]"), file.find("[frmtotext]"));
    EXPECT_NE(file.find("[frmtotext]\r\nLeft=6240\r\nTop=6120\r\nWidth=6720\r\nHeight=2160\r\nWindowState=0\r\n"),
              std::string::npos);
    EXPECT_FALSE(program().frmToText.loaded());
}
