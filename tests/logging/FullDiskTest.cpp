#include "fakes/ProgramFixture.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>

using namespace twk;
using twk::testing::readFile;

namespace {

// A small file system of its own, so the disk really fills up. Mounting
// needs root (or a user namespace); elsewhere the tests say why they skip.
class FullDiskTest : public twk::testing::ProgramFixture {
protected:
    void SetUp() override
    {
        disk_ = folder.file("disk");
        std::filesystem::create_directory(disk_);
        if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs to fill (" << std::strerror(errno)
                         << "): run the tests as root to include the full-disk cases";
        mounted_ = true;
    }
    void TearDown() override
    {
        if (mounted_)
            ::umount2(disk_.c_str(), MNT_DETACH);
    }

    void startWith(const std::string& saveType)
    {
        start("ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=" + saveType + "\r\nSAVEDFILEPATH=" + disk_ + "/\r\n");
    }
    std::string errorFor(const std::string& name) const
    {
        return "Error writing to: " + disk_ + "/" + name +
               ". Be sure file is not protected, the clipboard text is not too big, and that the file size is not "
               "too large.";
    }

    std::string disk_;
    const std::string tooBig_ = std::string(256 * 1024, 'x');

private:
    bool mounted_ = false;
};

} // namespace

TEST_F(FullDiskTest, ANewEntryThatDoesNotFitIsReportedAndTheLogStaysAsItWas)
{
    startWith("1");
    copy("first", 1);
    copy("second", 2);
    const auto before = readFile(disk_ + "/twk.txt");

    copy(tooBig_, 3);       // a new section: the append path
    copy(tooBig_ + "y", 3); // the same second again, and still too big
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, errorFor("twk.txt"));
    EXPECT_EQ(dialogs.messages[1].text, errorFor("twk.txt"));
    EXPECT_EQ(readFile(disk_ + "/twk.txt"), before);
    EXPECT_EQ(twk::testing::namesIn(disk_), std::vector<std::string>{"twk.txt"})
        << "no half-written file left beside the log";

    // Once a text fits again, logging simply carries on after the old entries.
    copy("third", 4);
    EXPECT_EQ(readFile(disk_ + "/twk.txt"), before + "[20261205140304]\r\nTEXT=third\r\n");
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(FullDiskTest, AFilePerCopyThatDoesNotFitLeavesNoFileAndTheOthersWhole)
{
    startWith("2");
    copy("kept", 1);
    copy(tooBig_, 2);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, errorFor("20261205_140302.txt"));
    EXPECT_EQ(twk::testing::namesIn(disk_), std::vector<std::string>{"20261205_140301.txt"});
    EXPECT_EQ(readFile(disk_ + "/20261205_140301.txt"), "[LogEntry]\r\nTEXT=kept\r\n");
}
