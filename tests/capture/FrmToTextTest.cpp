#include "fakes/ProgramFixture.h"

using namespace twk;

using ViewerWindowTest = twk::testing::ProgramFixture;

TEST_F(ViewerWindowTest, TheViewersCloseBoxesHideAndSaveWhileCancelOnlyHides)
{
    start("AUTOOOPENVIEWERS=1\r\nAUTOSAVE=0\r\n");
    viewer().Command1_Click();
    EXPECT_FALSE(viewer().visible());
    EXPECT_EQ(ini().find("[frmtotext]"), std::string::npos);

    viewer().show();
    viewer().userChangedBounds({15, 30, 4500, 1500});
    EXPECT_FALSE(viewer().requestClose());
    EXPECT_TRUE(program().frmToText.loaded());
    EXPECT_FALSE(viewer().visible());
    EXPECT_NE(ini().find("[frmtotext]\r\nLeft=15\r\nTop=30\r\nWidth=4500\r\nHeight=1500\r\nWindowState=0\r\n"),
              std::string::npos);

    copy("still caught");
    EXPECT_EQ(viewer().Text1.text(), "still caught");

    // The catcher's likewise.
    EXPECT_FALSE(catcher().requestClose());
    EXPECT_FALSE(catcher().visible());
    EXPECT_NE(ini().find("[frmlinkcatcher]\r\n"), std::string::npos);
    catcher().show();
    catcher().Command1_Click();
    EXPECT_FALSE(catcher().visible());
}

TEST_F(ViewerWindowTest, TheTextFollowsEverySizeAndState)
{
    start();
    viewer().userChangedBounds({0, 0, 3000, 900});
    EXPECT_EQ(viewer().Text1.bounds(), (ui::Bounds{0, 0, 3000, 900}));
    catcher().userChangedBounds({0, 0, 2000, 800});
    EXPECT_EQ(catcher().Text1.bounds(), (ui::Bounds{0, 120, 2000, 800}));
    viewer().userChangedState(ui::WindowState::Minimized);
    viewer().userChangedState(ui::WindowState::Normal);
    EXPECT_EQ(viewer().Text1.bounds().width, 3000);
}

TEST_F(ViewerWindowTest, ACatcherDoubleClickOpensWhatTheUserSelectedAndNothingElse)
{
    start();
    for (const char* selected : {"http://example.org", "", "please", "www.example.org/a?b=c,", "<someone@example.com>",
                                 "javascript:alert(1)", "mailto:me@example.org"}) {
        catcher().Text1.selectedText = selected;
        catcher().Text1_DblClick();
    }
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"http://example.org", "http://www.example.org/a?b=c",
                                                      "mailto:someone@example.com", "mailto:me@example.org"}));
}
