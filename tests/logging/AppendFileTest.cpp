#include "logging/AppendFile.h"
#include "configuration/LoadSettings.h"
#include "fakes/FileAccess.h"
#include "fakes/ProgramFixture.h"

using namespace twk;
using twk::testing::fileExists;
using twk::testing::readFile;
using twk::testing::writeFile;

namespace {

class AppendFileTest : public twk::testing::ProgramFixture {
protected:
    std::string appendFile() const { return folder.file("appendfile.txt"); }
    std::string backup(int n) const { return logging::AppendBackupName(appendFile(), n); }
    void startAppending() { writeIni("ON=1\r\nAM=1\r\nASAF=1\r\nAUTOSAVE=0\r\nAMLFPATH=" + appendFile() + "\r\n"); }
};

} // namespace

TEST_F(AppendFileTest, NothingIsWrittenUnlessBothSwitchesAreOn)
{
    start("ON=1\r\nAM=1\r\nASAF=0\r\nAMLFPATH=" + appendFile() + "\r\n");
    copy("x");
    EXPECT_FALSE(fileExists(appendFile()));
}

TEST_F(AppendFileTest, BackupsShiftByOneAtEachLoadAndTheOldestDrops)
{
    startAppending();
    writeFile(appendFile(), "gen1");
    start();
    EXPECT_EQ(readFile(backup(1)), "gen1");
    EXPECT_FALSE(fileExists(backup(2)));

    for (int generation = 2; generation <= 7; ++generation) {
        writeFile(appendFile(), "gen" + std::to_string(generation));
        configuration::LoadSettings(program());
    }
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(readFile(backup(n)), "gen" + std::to_string(8 - n)) << n;
    EXPECT_EQ(readFile(appendFile()), "gen7");
    EXPECT_FALSE(fileExists(logging::AppendBackupName(appendFile(), 6)));
}

TEST_F(AppendFileTest, NoRotationWithoutAnAppendFile)
{
    start("AMLFPATH=   \r\n");
    writeIni("AMLFPATH=" + folder.path() + "\r\n"); // a folder is not a file
    configuration::LoadSettings(program());
    EXPECT_FALSE(fileExists(folder.path() + "_001.txt"));
    EXPECT_FALSE(fileExists(folder.file("   _001.txt")));
}

TEST_F(AppendFileTest, AFailedRewriteKeepsTheLastGoodFile)
{
    startAppending();
    start();
    copy("a");
    files.failPaths.insert(appendFile());
    copy("b");
    EXPECT_EQ(readFile(appendFile()), "\r\na\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(AppendFileTest, ATextThatOnlyGrewIsAppendedAndAnyOtherChangeRewritesTheFile)
{
    startAppending();
    start();
    std::vector<std::string> added; // the viewer hears of each new text as an append too
    viewer().Text1.onAppended = [&](std::string_view more) { added.emplace_back(more); };
    for (const char* text : {"a", "b\r\nsecond line", "c"})
        copy(text);
    EXPECT_EQ(added, (std::vector<std::string>{"\r\na", "\r\nb\r\nsecond line", "\r\nc"}));
    EXPECT_EQ(readFile(appendFile()), "\r\na\r\nb\r\nsecond line\r\nc\r\n");
    EXPECT_EQ(files.replaces, 1); // the first text of the run
    EXPECT_EQ(files.appends, 2);

    writeFile(appendFile(), "changed by hand"); // the file is not what was written: written anew
    copy("d");
    EXPECT_EQ(readFile(appendFile()), "\r\na\r\nb\r\nsecond line\r\nc\r\nd\r\n");
    viewer().Text1.setText("typed over");
    EXPECT_EQ(readFile(appendFile()), "typed over\r\n");
    EXPECT_EQ(files.replaces, 3);
}

TEST_F(AppendFileTest, TheAppendFileAndItsBackupsAreReadableByTheirOwnerAlone)
{
    startAppending();
    start();
    copy("a password");
    EXPECT_TRUE(twk::testing::readableByOwnerAlone(appendFile()));

    configuration::LoadSettings(program()); // backup 1 of the private file
    EXPECT_TRUE(twk::testing::readableByOwnerAlone(backup(1)));
}
