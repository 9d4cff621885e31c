#include "ini/IniFiles.h"
#include "configuration/IniModule.h"
#include "fakes/Latin1CodePage.h"
#include "fakes/TempFolder.h"
#include "platform/NativeLayer.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;
using twk::testing::TempFolder;
using twk::testing::writeFile;

namespace {

struct IniFilesTest : ::testing::Test {
    TempFolder folder;
    std::unique_ptr<platform::FileSystem> native = platform::makeNativeFileSystem();
    platform::FileSystem& files = *native;
    ini::IniFiles ini{files};
    std::string path = folder.file("twk3.ini");
};

} // namespace

TEST_F(IniFilesTest, ReadIniGivesTheNulBufferForAnythingAbsentOrEmpty)
{
    const std::string nul(128, '\0');
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "ON", path), nul); // no file
    writeFile(path, "[TWK]\r\nEMPTY=\r\nBLANK=   \r\nON=1\r\n");
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "ON", path), "1");
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "EMPTY", path), nul);
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "BLANK", path), nul);
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "MISSING", path), nul);
    EXPECT_EQ(configuration::ReadIni(ini, "NONE", "ON", path), nul);
}

TEST_F(IniFilesTest, ReadIniCutsLongValuesTo126Characters)
{
    const std::string longValue(200, 'x');
    ASSERT_TRUE(ini.write(path, "TWK", "SAVEDFILEPATH", longValue, platform::NewFile::Usual));
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "SAVEDFILEPATH", path), std::string(126, 'x'));

    // Characters, not bytes: a two-byte letter is never split.
    std::string accented;
    for (int i = 0; i < 130; ++i)
        accented += "\xC3\xA9";
    ASSERT_TRUE(ini.write(path, "TWK", "A", accented, platform::NewFile::Usual));
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "A", path), accented.substr(0, 252));
}

TEST_F(IniFilesTest, WritingCreatesTheFileButNotItsFolder)
{
    EXPECT_TRUE(ini.write(path, "TWK", "ON", "1", platform::NewFile::Usual));
    EXPECT_EQ(readFile(path), "[TWK]\r\nON=1\r\n");
    EXPECT_FALSE(ini.write(folder.file("missing/twk3.ini"), "TWK", "ON", "1", platform::NewFile::Usual));
    EXPECT_FALSE(fileExists(folder.file("missing")));
}

TEST_F(IniFilesTest, AWriteProtectedFileIsLeftAsItWasEvenForRoot)
{
    writeFile(path, "[TWK]\r\nON=1\r\n");
    twk::testing::writeProtect(path);
    EXPECT_FALSE(ini.write(path, "TWK", "ON", "0", platform::NewFile::Usual));
    EXPECT_EQ(readFile(path), "[TWK]\r\nON=1\r\n");
    EXPECT_EQ(ini.read(path, "TWK", "ON"), "1");
}

TEST_F(IniFilesTest, AValueWrittenAgainAsItStandsLeavesTheFileUntouched)
{
    // Windows closing where they opened write their placement again at every exit.
    writeFile(path, "[frmtotext]\r\nLeft=6240\r\nTop = 120\r\n");
    const auto replaced = [this, before = platform::makeNativeFileSystem()->stamp(path)] {
        return platform::makeNativeFileSystem()->stamp(path) != before;
    };
    EXPECT_TRUE(ini.write(path, "frmtotext", "Left", "6240", platform::NewFile::Usual));
    EXPECT_TRUE(ini.write(path, "FRMTOTEXT", "left", "6240", platform::NewFile::Usual)); // the key keeps its spelling
    EXPECT_FALSE(replaced());
    // Not the same bytes: blanks around the '=' go, as any write of the key does.
    EXPECT_TRUE(ini.write(path, "frmtotext", "Top", "120", platform::NewFile::Usual));
    EXPECT_EQ(readFile(path), "[frmtotext]\r\nLeft=6240\r\nTop=120\r\n");
}

TEST_F(IniFilesTest, AFileThatCannotBeReadIsNeverReplaced)
{
    // A folder where the file should be: unreadable as a file, not missing.
    std::filesystem::create_directory(path);
    EXPECT_FALSE(ini.write(path, "TWK", "ON", "1", platform::NewFile::Usual));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(IniFilesTest, PathsWithANulCharacterAreRefused)
{
    const std::string sneaky = path + std::string(1, '\0') + "ignored";
    EXPECT_FALSE(files.replace(sneaky, "x", platform::NewFile::Usual));
    EXPECT_FALSE(fileExists(path));
    EXPECT_FALSE(files.read(sneaky).has_value());
}

TEST_F(IniFilesTest, AppendAddsToAnExistingFileOnly)
{
    EXPECT_FALSE(files.append(path, "x"));
    writeFile(path, "a");
    EXPECT_TRUE(files.append(path, "b"));
    EXPECT_EQ(readFile(path), "ab");
}

TEST_F(IniFilesTest, FilesSavedWithAMarkOrCrLineEndsKeepTheirFormThroughEveryWrite)
{
    const std::string mark = "\xEF\xBB\xBF";
    auto wide = [](std::string_view ascii) {
        std::string bytes;
        for (const char c : ascii)
            bytes += std::string{c, '\0'};
        return bytes;
    };
    const std::string littleEndian = "\xFF\xFE" + wide("[S]\r\nk=a");
    const std::vector<std::pair<std::string, std::string>> forms = {
        {mark + "[S]\nk=a", mark + "[S]\nk=a\r\n[A]\r\nT=1\r\n[B]\r\nT=2\r\n"},
        {littleEndian, littleEndian + wide("\r\n[A]\r\nT=1\r\n[B]\r\nT=2\r\n")},
        {"[S]\rk=a", "[S]\rk=a\r[A]\rT=1\r[B]\rT=2\r"},
    };
    for (const auto& [before, after] : forms) {
        writeFile(path, before);
        EXPECT_EQ(ini.read(path, "s", "K"), "a");
        // Two new sections: the second must not be appended as plain text.
        ASSERT_TRUE(ini.write(path, "A", "T", "1", platform::NewFile::Usual));
        ASSERT_TRUE(ini.write(path, "B", "T", "2", platform::NewFile::Usual));
        EXPECT_EQ(readFile(path), after);
        EXPECT_EQ(ini.read(path, "B", "T"), "2");
    }
}

TEST_F(IniFilesTest, TheSettingsFileInTheCodePageStaysInItThroughEveryWriteAndLogsStayUtf8)
{
    const twk::testing::Latin1CodePage latin1;
    ini.readInCodePage(path, &latin1);
    writeFile(path, "[TWK]\r\nSAVEDFILEPATH=C:\\caf\xE9\\\r\n");
    EXPECT_EQ(configuration::ReadIni(ini, "TWK", "SAVEDFILEPATH", path), "C:\\caf\xC3\xA9\\");
    // Added keys and sections, again and again (an index would take a plain
    // file's second write): every one in the code page.
    for (const char* value : {"1", "\xC3\xA8", "2"}) {
        ASSERT_TRUE(ini.write(path, "frmtotext", "Left", value, platform::NewFile::Usual));
        ASSERT_TRUE(ini.write(path, "frmtotext", std::string("K") + value, "x", platform::NewFile::Usual));
    }
    EXPECT_EQ(readFile(path),
              "[TWK]\r\nSAVEDFILEPATH=C:\\caf\xE9\\\r\n[frmtotext]\r\nLeft=2\r\nK1=x\r\nK\xE8=x\r\nK2=x\r\n");
    EXPECT_TRUE(ini.hasSection(path, "frmtotext"));

    // A log of the same bytes is no settings file: entries go in as UTF-8.
    const auto log = folder.file("twk.txt");
    writeFile(log, "[20200101000000]\r\nTEXT=caf\xE9\r\n");
    ASSERT_TRUE(ini.write(log, "20260101000000", "TEXT", "caf\xC3\xA9", platform::NewFile::Usual));
    EXPECT_EQ(readFile(log), "[20200101000000]\r\nTEXT=caf\xE9\r\n[20260101000000]\r\nTEXT=caf\xC3\xA9\r\n");
}

// A log saved once with a UTF-8 mark that grew past what is held whole takes
// entries as any log does: its mark and every untouched line kept byte for byte.
TEST_F(IniFilesTest, ALogWithAMarkLargerThanIsHeldWholeTakesMoreEntries)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::string text(1 << 20, 'x');
    std::string log = mark + "[20261201000000]\r\nTEXT=first\r\n";
    for (int n = 0; n < 66; ++n)
        log += "[202612010000" + std::to_string(10 + n) + "]\r\nTEXT=" + text + "\r\n";
    writeFile(path, log);

    // The first section stands right after the mark, and is seen there.
    EXPECT_TRUE(ini.hasSection(path, "20261201000000"));
    const auto look = ini.lookForSection(path, "20261207101010");
    ASSERT_FALSE(look.present);
    ASSERT_TRUE(ini.write(path, "20261207101010", "TEXT", "new", platform::NewFile::OwnerOnly, look));
    ASSERT_TRUE(ini.write(path, "20261207101011", "TEXT", "newer", platform::NewFile::OwnerOnly));
    log += "[20261207101010]\r\nTEXT=new\r\n[20261207101011]\r\nTEXT=newer\r\n";
    EXPECT_EQ(readFile(path), log);

    // A change in place, in the first section, keeps the rest as it was.
    ASSERT_TRUE(ini.write(path, "20261201000000", "TEXT", "changed", platform::NewFile::OwnerOnly));
    EXPECT_EQ(ini.read(path, "20261201000000", "TEXT"), "changed");
    log.replace(log.find("first"), 5, "changed");
    EXPECT_EQ(readFile(path), log);
}
