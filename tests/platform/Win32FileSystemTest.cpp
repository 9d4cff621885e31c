#include "platform/win32/Win32FileSystem.h"
#include "fakes/FileAccess.h"
#include "fakes/TempFolder.h"
#include "platform/win32/Win32Folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

using twk::platform::NewFile;
using twk::testing::readFile;
using twk::testing::TempFolder;
using twk::testing::writeFile;

namespace {

struct Win32FileSystemTest : ::testing::Test {
    TempFolder folder;
    twk::platform::Win32FileSystem files;
    std::string path = folder.file("twk.txt");

    std::size_t entries() const { return twk::testing::namesIn(folder.path()).size(); }
};

} // namespace

TEST_F(Win32FileSystemTest, BytesGoInAndComeOutUnchangedWithNoTextModeBetween)
{
    // Text mode would turn CR LF into LF and stop reading at Ctrl-Z.
    const std::string bytes = std::string("[A]\r\nK=a\nb\x1A tail\r\n") + std::string(1, '\0') + "\xE9\xFF\r";
    ASSERT_TRUE(files.replace(path, bytes, NewFile::Usual));
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(files.read(path), bytes);
    ASSERT_TRUE(files.append(path, "\x1A\r\n"));
    EXPECT_EQ(files.read(path), bytes + "\x1A\r\n");
}

TEST_F(Win32FileSystemTest, ReplacingAnExistingFileKeepsItsHiddenMarkAndLeavesNoTemporaryFile)
{
    writeFile(path, "old");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(files.replace(path, "new content", NewFile::Usual));
    EXPECT_EQ(readFile(path), "new content");
    EXPECT_NE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsNeitherReplacedNorAppendedTo)
{
    writeFile(path, "kept");
    twk::testing::writeProtect(path);
    EXPECT_FALSE(files.replace(path, "lost", NewFile::Usual));
    EXPECT_FALSE(files.append(path, "lost"));
    EXPECT_FALSE(files.copy(path, path, NewFile::Usual));
    EXPECT_EQ(readFile(path), "kept");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Win32FileSystemTest, AFolderIsNoFileToReadReplaceOrStamp)
{
    std::filesystem::create_directory(path);
    EXPECT_FALSE(files.read(path));
    EXPECT_FALSE(files.replace(path, "x", NewFile::Usual));
    EXPECT_FALSE(files.append(path, "x"));
    EXPECT_FALSE(files.stamp(path));
    EXPECT_FALSE(files.isRegularFile(path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(Win32FileSystemTest, TheStampTellsAFileReplacedWithTheSameSizeFromTheOneBefore)
{
    ASSERT_TRUE(files.replace(path, "first", NewFile::OwnerOnly));
    const auto before = files.stamp(path);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size, 5u);
    EXPECT_EQ(files.stamp(path), before) << "nothing changed";
    ASSERT_TRUE(files.replace(path, "other", NewFile::OwnerOnly));
    const auto after = files.stamp(path);
    ASSERT_TRUE(after);
    EXPECT_NE(after->inode, before->inode) << "a new file took the old one's place";
    ASSERT_TRUE(files.append(path, "+"));
    EXPECT_EQ(files.stamp(path)->size, 6u);
    EXPECT_EQ(files.stamp(path)->inode, after->inode) << "an append keeps the file";
}

// A file index is unique on its volume alone: a file put in the place of the
// one before from another volume may bring the same index, size and time.
TEST_F(Win32FileSystemTest, TheStampNamesTheVolumeOfTheFile)
{
    ASSERT_TRUE(files.replace(path, "x", NewFile::Usual));
    char root[MAX_PATH + 1] = {};
    DWORD serial = 0;
    ASSERT_TRUE(::GetVolumePathNameA(path.c_str(), root, MAX_PATH));
    ASSERT_TRUE(::GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    ASSERT_NE(serial, 0u) << root;
    EXPECT_EQ(files.stamp(path)->device, serial);
}

TEST_F(Win32FileSystemTest, PathsAreUtf8OfAnyScriptAndForwardSlashesAlsoWork)
{
    const std::pair<std::string, std::wstring> names[] = {
        {"caf\xC3\xA9.ini", L"caf\u00E9.ini"},
        {"\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0.txt", L"\u041F\u0430\u043F\u043A\u0430.txt"},
        {"\xE6\x97\xA5\xF0\x9F\x91\x8D.txt", L"\u65E5\U0001F44D.txt"},
    };
    for (const auto& [name, wide] : names) {
        ASSERT_TRUE(files.replace(folder.file(name), "x", NewFile::Usual)) << name;
        EXPECT_TRUE(files.isRegularFile(folder.file(name)));
        EXPECT_EQ(files.read(folder.file("") + name), "x");
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.path()) / wide)) << name;
        EXPECT_TRUE(files.append(folder.file(name), "y"));
        EXPECT_EQ(files.read(folder.file(name)), "xy");
        EXPECT_TRUE(files.remove(folder.file(name)));
        EXPECT_FALSE(files.isRegularFile(folder.file(name)));
    }
}

TEST_F(Win32FileSystemTest, AMalformedPathNamesNoFileRatherThanAnother)
{
    // "caf\xE9" is no UTF-8: read with a replacement character it would name
    // a file nobody asked for.
    const std::string name = "caf\xE9.ini";
    EXPECT_FALSE(files.replace(folder.file(name), "x", NewFile::Usual));
    EXPECT_FALSE(files.append(folder.file(name), "x"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
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

TEST_F(Win32FileSystemTest, AWriteRemovesWhatKilledWritesLeftButNotTheTemporaryOfALiveWriter)
{
    writeFile(path, "[A]\r\n");
    writeFile(path + ".twk-Ab3dE9", "half a log");
    writeFile(path + ".twk-notOurs", "kept: not our naming");
    writeFile(folder.file("other.txt.twk-Zz0000"), "kept: another file's");
    const auto live = path + ".twk-LIVE01";
    writeFile(live, "being written");
    const HANDLE writer = ::CreateFileA(live.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);

    ASSERT_TRUE(files.append(path, "K=1\r\n"));
    EXPECT_FALSE(twk::testing::fileExists(path + ".twk-Ab3dE9"));
    EXPECT_TRUE(twk::testing::fileExists(path + ".twk-notOurs"));
    EXPECT_TRUE(twk::testing::fileExists(folder.file("other.txt.twk-Zz0000")));
    EXPECT_TRUE(twk::testing::fileExists(live)) << "its writer still holds it";
    ::CloseHandle(writer);
    EXPECT_EQ(readFile(path), "[A]\r\nK=1\r\n");
}

TEST_F(Win32FileSystemTest, AnAbandonedOrPiecewiseWriteLeavesEitherTheOldFileOrTheWholeNewOne)
{
    writeFile(path, "old");
    EXPECT_FALSE(files.replaceWith(path, NewFile::Usual, [](const auto& put) {
        put("half");
        return false;
    }));
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(entries(), 1u) << "the abandoned temporary is gone";

    ASSERT_TRUE(
        files.replaceWith(path, NewFile::Usual, [](const auto& put) { return put("one ") && put("") && put("two"); }));
    EXPECT_EQ(readFile(path), "one two");
    EXPECT_EQ(files.readRange(path, 4, 100), "two");
    EXPECT_EQ(files.readRange(path, 1, 2), "ne");
    EXPECT_EQ(files.readRange(path, 50, 3), "") << "past the end: nothing, yet readable";
    EXPECT_FALSE(files.readRange(folder.file("missing"), 0, 3));
}

TEST_F(Win32FileSystemTest, ACopyOfMoreThanOnePieceArrivesWhole)
{
    std::string big(twk::platform::FileSystem::kPiece * 2 + 17, 'x');
    for (std::size_t i = 0; i < big.size(); i += 4093)
        big[i] = static_cast<char>('a' + i % 26);
    writeFile(path, big);
    ASSERT_TRUE(files.copy(path, folder.file("copy.txt"), NewFile::OwnerOnly));
    EXPECT_EQ(files.read(folder.file("copy.txt")), big);
    EXPECT_FALSE(files.copy(folder.file("missing"), folder.file("copy.txt"), NewFile::Usual));
    EXPECT_EQ(readFile(folder.file("copy.txt")), big) << "a failed copy leaves the old file";
}

TEST_F(Win32FileSystemTest, ANewFileOfCopiedTextGetsPermissionsOfItsOwnNotTheFoldersAndStaysReadable)
{
    ASSERT_TRUE(files.replace(path, "secret", NewFile::OwnerOnly));
    ASSERT_TRUE(files.replace(folder.file("twk3.ini"), "[TWK]", NewFile::Usual));
    EXPECT_TRUE(twk::testing::readableByOwnerAlone(path));
    EXPECT_FALSE(twk::testing::readableByOwnerAlone(folder.file("twk3.ini")));
    ASSERT_TRUE(files.append(path, " more"));
    ASSERT_TRUE(files.replace(path, "rewritten", NewFile::OwnerOnly));
    EXPECT_TRUE(twk::testing::readableByOwnerAlone(path)) << "a rewrite keeps the file's own permissions";
    EXPECT_EQ(files.read(path), "rewritten");
}
