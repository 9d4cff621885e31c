#include "BrowserWindow.h"
#include "Win32Dialogs.h"
#include "Win32Environment.h"
#include "Win32Instances.h"

#include <gtest/gtest.h>

namespace twk::win32 {
namespace {

TEST(Win32Environment, TheProgramFolderHasNoClosingBackslashButAtADriveRoot)
{
    EXPECT_EQ(folderOfProgram(R"(C:\Program Files\TWK\twk3.exe)"), R"(C:\Program Files\TWK)");
    EXPECT_EQ(folderOfProgram(R"(D:\twk3.exe)"), R"(D:\)");
    EXPECT_EQ(folderOfProgram(R"(\\server\share\twk3.exe)"), R"(\\server\share)");
}

TEST(Win32Environment, TheArgumentStringIsWhatFollowsTheProgramAndItsBlanks)
{
    EXPECT_EQ(argumentsOf("twk3.exe 99"), "99");
    EXPECT_EQ(argumentsOf(R"("C:\Program Files\TWK\twk3.exe"   99 )"), "99 ");
    EXPECT_EQ(argumentsOf(R"("C:\a b\twk3.exe")"), "");
    EXPECT_EQ(argumentsOf("twk3.exe\t\"quoted arg\""), "\"quoted arg\"");
    EXPECT_EQ(argumentsOf(""), "");
}

TEST(Win32Environment, TwipsPerPixelFollowTheScreensResolution)
{
    EXPECT_DOUBLE_EQ(twipsPerPixel(96), 15.0);
    EXPECT_DOUBLE_EQ(twipsPerPixel(144), 10.0);
    EXPECT_DOUBLE_EQ(twipsPerPixel(0), 15.0);
}

TEST(Win32Dialogs, TheFilterBecomesNulSeparatedPiecesEndingInTwoNuls)
{
    using namespace std::string_literals;
    EXPECT_EQ(fileDialogFilter("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"),
              "Text Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0\0"s);
}

TEST(Win32Instances, OneProgramFileIsOneMarkWhateverTheLetterCase)
{
    const auto name = instanceMutexName(R"(C:\Tools\TWK3.EXE)");
    EXPECT_EQ(name, instanceMutexName(R"(c:\tools\twk3.exe)"));
    EXPECT_NE(name, instanceMutexName(R"(C:\Other\twk3.exe)"));
    // Only the namespace's own backslash: any other would name another namespace.
    EXPECT_EQ(name.rfind('\\'), std::string("Local").size());
    const auto deep = instanceMutexName("C:\\" + std::string(400, 'x') + "\\twk3.exe");
    EXPECT_LT(deep.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_NE(deep, instanceMutexName("C:\\" + std::string(401, 'x') + "\\twk3.exe"));
}

TEST(BrowserWindow, DotDotGoesUpOneFolderAndStopsAtTheDriveRoot)
{
    EXPECT_EQ(folderOpenedBy(R"(C:\logs)", "daily"), R"(C:\logs\daily)");
    EXPECT_EQ(folderOpenedBy(R"(C:\)", "logs"), R"(C:\logs)");
    EXPECT_EQ(folderOpenedBy(R"(C:\logs\daily)", ".."), R"(C:\logs)");
    EXPECT_EQ(folderOpenedBy(R"(C:\logs)", ".."), R"(C:\)");
    EXPECT_EQ(folderOpenedBy(R"(C:\)", ".."), R"(C:\)");
}

} // namespace
} // namespace twk::win32
