#include "about/FrmAbout.h"
#include "about/Help.h"
#include "configuration/FrmOptions.h"
#include "fakes/ProgramFixture.h"

using namespace twk;

using AboutWindowTest = twk::testing::ProgramFixture;

TEST_F(AboutWindowTest, OpensThePageAndHelpAndOkClosesItSavingItsPlaceWhateverTheSetting)
{
    start("XYPOS=0\r\n");
    form1().mnuAbout_Click();
    auto& about = *program().frmAbout;
    EXPECT_TRUE(about.visible());

    about.Text1_Click();
    about.Command1.click();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{about::kProductPage, folder.file("twk3-help.html")}));
    EXPECT_NE(about.Text1.caption(), about::kProductPage);

    about.cmdOK.click();
    EXPECT_FALSE(program().frmAbout.loaded());
    EXPECT_NE(ini().find("[frmAbout]\r\nLeft="), std::string::npos);
}

TEST_F(AboutWindowTest, ItOutlivesTheOptionsWindowThatOpenedIt)
{
    start("");
    form1().mnuOptions_Click();
    program().frmOptions->Command4.click();
    program().frmOptions->Command3.click();
    EXPECT_TRUE(program().frmAbout.loaded());
}
