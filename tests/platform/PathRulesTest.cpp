#include "platform/PathRules.h"
#include "fakes/Paths.h"

#include <gtest/gtest.h>

using twk::platform::folderForDisplay;
using twk::testing::kRootFolder;
using twk::testing::under;

TEST(PathRulesTest, AFolderShownLosesItsClosingSeparatorsButARootKeepsExactlyOne)
{
    EXPECT_EQ(folderForDisplay(under(kRootFolder, "logs/")), under(kRootFolder, "logs"));
    EXPECT_EQ(folderForDisplay(under(kRootFolder, "logs//")), under(kRootFolder, "logs"));
    EXPECT_EQ(folderForDisplay(kRootFolder), kRootFolder);
    EXPECT_EQ(folderForDisplay(kRootFolder + twk::platform::kFolderSeparator), kRootFolder)
        << "a doubled separator at a root still leaves the root";
}

TEST(PathRulesTest, ADriveNamedAloneIsShownAsItsRoot)
{
    if (twk::platform::kFolderSeparator != '\\')
        GTEST_SKIP() << "drive letters are Windows' own";
    EXPECT_EQ(folderForDisplay("D:"), "D:\\");
    EXPECT_EQ(folderForDisplay("D:\\\\\\"), "D:\\");
    EXPECT_TRUE(twk::platform::isRootFolder("C:\\"));
    EXPECT_FALSE(twk::platform::isRootFolder("\\")) << "the top of no drive in particular";
}
