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

TEST(Win32FoldersTest, FoldersOfEveryScriptAreListedInUtf8AndCanBeOpened)
{
    twk::testing::TempFolder folder;
    const std::filesystem::path base(folder.path());
    for (const wchar_t* name : {L"\u041F\u0430\u043F\u043A\u0430", L"caf\u00E9", L"\u65E5\U0001F44D"})
        std::filesystem::create_directory(base / name);
    std::filesystem::create_directory(base / L"\u041F\u0430\u043F\u043A\u0430" / L"inner");
    Win32Folders folders;
    const auto listed = folders.subfolders(folder.path());
    ASSERT_TRUE(listed);
    std::vector<std::string> sorted = *listed;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"caf\xC3\xA9", "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0",
                                                "\xE6\x97\xA5\xF0\x9F\x91\x8D"}));
    EXPECT_EQ(folders.subfolders(folder.file("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0")),
              std::vector<std::string>{"inner"});
    EXPECT_FALSE(folders.subfolders(folder.file("caf\xE9"))) << "malformed UTF-8 names no folder";
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
