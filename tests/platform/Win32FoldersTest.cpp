#include "platform/win32/Win32Folders.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <windows.h>

using twk::platform::Win32Folders;

TEST(Win32FoldersTest, DrivesAreTheDriveRootsInOrder)
{
    Win32Folders folders;
    const auto drives = folders.drives();
    ASSERT_FALSE(drives.empty());
    for (const auto& drive : drives) {
        ASSERT_EQ(drive.size(), 3u) << drive;
        EXPECT_TRUE(drive[0] >= 'A' && drive[0] <= 'Z') << drive;
        EXPECT_EQ(drive.substr(1), ":\\");
    }
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
}

TEST(Win32FoldersTest, TheDriveOfAFolderIsItsRootWhateverTheCaseOrForm)
{
    Win32Folders folders;
    EXPECT_EQ(folders.driveOf("c:\\windows\\system32"), "C:\\");
    EXPECT_EQ(folders.driveOf("D:"), "D:\\");
    EXPECT_EQ(folders.driveOf("z:/tmp"), "Z:\\");
    EXPECT_EQ(folders.driveOf("\\\\server\\share\\logs"), "\\\\server\\share\\");
    char current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(folders.driveOf("logs"), folders.driveOf(current)) << "a relative folder lies on the current drive";
}

TEST(Win32FoldersTest, SubfoldersAreOnlyFoldersInTheSystemsOrder)
{
    twk::testing::TempFolder folder;
    for (const char* name : {"beta", "Alpha", "gamma"})
        std::filesystem::create_directory(folder.file(name));
    twk::testing::writeFile(folder.file("a file.txt"), "x");
    Win32Folders folders;
    const std::vector<std::string> expected{"Alpha", "beta", "gamma"};
    EXPECT_EQ(folders.subfolders(folder.path()), expected);
    EXPECT_EQ(folders.subfolders(folder.path() + "\\"), expected);
    EXPECT_EQ(folders.subfolders(folder.file("beta")), std::vector<std::string>{});
    EXPECT_FALSE(folders.subfolders(folder.file("missing")));
    EXPECT_FALSE(folders.subfolders(folder.file("a file.txt")));
}

TEST(Win32FoldersTest, ADriveRootListsItsTopFolders)
{
    Win32Folders folders;
    const auto top = folders.subfolders("C:\\");
    ASSERT_TRUE(top);
    const bool hasWindows = std::any_of(
        top->begin(), top->end(), [](const std::string& name) { return ::lstrcmpiA(name.c_str(), "windows") == 0; });
    EXPECT_TRUE(hasWindows);
}
