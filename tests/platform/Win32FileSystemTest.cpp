#include "platform/win32/Win32FileSystem.h"
#include "fakes/TempFolder.h"
#include "platform/win32/Win32Folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

using twk::testing::readFile;
using twk::testing::TempFolder;
using twk::testing::writeFile;

namespace {

struct Win32FileSystemTest : ::testing::Test {
    TempFolder folder;
    twk::platform::Win32FileSystem files;
    std::string path = folder.file("twk.txt");

    int entries() const
    {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
            ++count;
        return count;
    }
};

} // namespace

TEST_F(Win32FileSystemTest, BytesGoInAndComeOutUnchangedWithNoTextModeBetween)
{
    // Text mode would turn CR LF into LF and stop reading at Ctrl-Z.
    const std::string bytes = std::string("[A]\r\nK=a\nb\x1A tail\r\n") + std::string(1, '\0') + "\xE9\xFF\r";
    ASSERT_TRUE(files.replace(path, bytes));
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(files.read(path), bytes);
    ASSERT_TRUE(files.append(path, "\x1A\r\n"));
    EXPECT_EQ(files.read(path), bytes + "\x1A\r\n");
}

TEST_F(Win32FileSystemTest, ReplacingAnExistingFileKeepsItsHiddenMarkAndLeavesNoTemporaryFile)
{
    writeFile(path, "old");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(files.replace(path, "new content"));
    EXPECT_EQ(readFile(path), "new content");
    EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(entries(), 1);
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsNeitherReplacedNorAppendedTo)
{
    writeFile(path, "kept");
    twk::testing::writeProtect(path);
    EXPECT_FALSE(files.replace(path, "lost"));
    EXPECT_FALSE(files.append(path, "lost"));
    EXPECT_FALSE(files.copy(path, path));
    EXPECT_EQ(readFile(path), "kept");
    EXPECT_EQ(entries(), 1);
}

TEST_F(Win32FileSystemTest, AFolderIsNoFileToReadReplaceOrStamp)
{
    std::filesystem::create_directory(path);
    EXPECT_FALSE(files.read(path));
    EXPECT_FALSE(files.replace(path, "x"));
    EXPECT_FALSE(files.append(path, "x"));
    EXPECT_FALSE(files.stamp(path));
    EXPECT_FALSE(files.isRegularFile(path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(Win32FileSystemTest, TheStampTellsAFileReplacedWithTheSameSizeFromTheOneBefore)
{
    ASSERT_TRUE(files.replace(path, "first"));
    const auto before = files.stamp(path);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size, 5u);
    EXPECT_EQ(files.stamp(path), before) << "nothing changed";
    ASSERT_TRUE(files.replace(path, "other"));
    const auto after = files.stamp(path);
    ASSERT_TRUE(after);
    EXPECT_NE(after->inode, before->inode) << "a new file took the old one's place";
    EXPECT_EQ(after->device, before->device);
    ASSERT_TRUE(files.append(path, "+"));
    EXPECT_EQ(files.stamp(path)->size, 6u);
    EXPECT_EQ(files.stamp(path)->inode, after->inode) << "an append keeps the file";
}

TEST_F(Win32FileSystemTest, PathsAreAnsiTextAndForwardSlashesAlsoWork)
{
    const std::string name = "caf\xE9.ini"; // e acute in the Western code page
    ASSERT_TRUE(files.replace(folder.file(name), "x"));
    EXPECT_TRUE(files.isRegularFile(folder.file(name)));
    EXPECT_EQ(files.read(folder.file("") + name), "x");
    if (::GetACP() == 1252) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.path()) / L"caf\u00E9.ini"));
    }
    EXPECT_TRUE(files.remove(folder.file(name)));
    EXPECT_FALSE(files.isRegularFile(folder.file(name)));
}

TEST_F(Win32FileSystemTest, AFileAnotherProgramHasOpenCanStillBeReadAndAppendedTo)
{
    writeFile(path, "a");
    const HANDLE reader = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.read(path), "a");
    EXPECT_TRUE(files.append(path, "b"));
    ::CloseHandle(reader);
    EXPECT_EQ(readFile(path), "ab");
}
