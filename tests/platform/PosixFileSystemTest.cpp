#include "platform/posix/PosixFileSystem.h"
#include "fakes/TempFolder.h"
#include "ini/IniFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace twk;
using platform::NewFile;
using twk::testing::namesIn;
using twk::testing::readFile;
using twk::testing::TempFolder;
using twk::testing::writeFile;

namespace {

unsigned modeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

class Umask {
public:
    explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
    ~Umask() { ::umask(saved_); }

private:
    mode_t saved_;
};

// Runs a write in a fresh process (its own locks, its own memory) and waits for it.
template <typename Write> int inChild(Write write, struct rusage* usage = nullptr)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(write() ? 0 : 1);
    int status = 0;
    ::wait4(child, &status, 0, usage);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct PosixFileSystemTest : ::testing::Test {
    TempFolder folder;
    platform::PosixFileSystem files;
};

} // namespace

TEST_F(PosixFileSystemTest, CopiedTextIsCreatedPrivateTheIniFileFollowsTheUmaskAndExistingFilesKeepTheirMode)
{
    for (const mode_t mask : {022, 077}) {
        SCOPED_TRACE("umask " + std::to_string(mask));
        Umask umask(mask);
        TempFolder here;
        ini::IniFiles ini(files);
        ASSERT_TRUE(ini.write(here.file("twk.txt"), "20261207101500", "TEXT", "a password", NewFile::OwnerOnly));
        ASSERT_TRUE(ini.write(here.file("twk3.ini"), "TWK", "ON", "1", NewFile::Usual));
        ASSERT_TRUE(files.copy(here.file("twk.txt"), here.file("backup"), NewFile::OwnerOnly));
        EXPECT_EQ(modeOf(here.file("twk.txt")), 0600u);
        EXPECT_EQ(modeOf(here.file("backup")), 0600u);
        EXPECT_EQ(modeOf(here.file("twk3.ini")), 0666u & ~mask);

        // A mode the user chose stays, through appends and rewrites alike.
        ::chmod(here.file("twk.txt").c_str(), 0640);
        ASSERT_TRUE(ini.write(here.file("twk.txt"), "20261207101501", "TEXT", "b", NewFile::OwnerOnly));
        ASSERT_TRUE(ini.write(here.file("twk.txt"), "20261207101500", "MORE", "c", NewFile::OwnerOnly));
        EXPECT_EQ(modeOf(here.file("twk.txt")), 0640u);
    }
}

TEST_F(PosixFileSystemTest, ALinkIsWrittenThroughOnAppendAndRewriteAndStaysALink)
{
    std::filesystem::create_directory(folder.file("elsewhere"));
    const auto target = folder.file("elsewhere/real.txt");
    const auto link = folder.file("twk.txt");
    writeFile(target, "[1]\r\nTEXT=a\r\n");
    std::filesystem::create_symlink("elsewhere/real.txt", link); // relative, as users make them
    ini::IniFiles ini(files);
    ASSERT_TRUE(ini.write(link, "2", "TEXT", "b", NewFile::OwnerOnly)); // an append
    ASSERT_TRUE(ini.write(link, "1", "TEXT", "c", NewFile::OwnerOnly)); // a rewrite
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), "[1]\r\nTEXT=c\r\n[2]\r\nTEXT=b\r\n");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"elsewhere", "twk.txt"}));
    EXPECT_EQ(namesIn(folder.file("elsewhere")), std::vector<std::string>{"real.txt"});

    // A link that points nowhere gets its target made, and stays a link.
    const auto dangling = folder.file("u20261207.txt");
    std::filesystem::create_symlink(folder.file("elsewhere/later.txt"), dangling);
    ASSERT_TRUE(ini.write(dangling, "10", "1500", "http://x", NewFile::OwnerOnly));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readFile(folder.file("elsewhere/later.txt")), "[10]\r\n1500=http://x\r\n");
    EXPECT_EQ(modeOf(folder.file("elsewhere/later.txt")), 0600u);
}

TEST_F(PosixFileSystemTest, LeftoversOfDeadWritersGoAtTheNextWriteButALiveWritersStays)
{
    const auto log = folder.file("twk.txt");
    writeFile(log, "[1]\r\nTEXT=a\r\n");
    writeFile(log + ".twk-AbC123", "copied text of a killed write");
    writeFile(log + ".twk-Live99", "being written");
    writeFile(folder.file("other.txt.twk-XyZ789"), "another file's");
    writeFile(log + ".twk-notmine", "not of our naming");
    const int live = ::open((log + ".twk-Live99").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    // Another process does the write: a lock held in this one would not count there.
    const int status = inChild([&] { return platform::PosixFileSystem().append(log, "[2]\r\nTEXT=b\r\n"); });
    ::close(live);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"other.txt.twk-XyZ789", "twk.txt", "twk.txt.twk-Live99",
                                                                "twk.txt.twk-notmine"}));
}

// A sparse log of tens of GB: the first append of a fresh process reads it
// through at the speed of the disk, holding a few MB, and adds its entry.
TEST_F(PosixFileSystemTest, AnEntryIsAddedToAHugeLogInBoundedMemory)
{
    constexpr off_t kSize = off_t{20} << 30;
    const auto log = folder.file("twk.txt");
    {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT, 0600);
        const bool sparse = fd >= 0 && ::ftruncate(fd, kSize) == 0;
        ::close(fd);
        if (!sparse)
            GTEST_SKIP() << "this file system cannot hold a sparse file of 20 GB";
    }
    struct rusage usage {};
    const int status = inChild(
        [&] {
            platform::PosixFileSystem fresh;
            return ini::IniFiles(fresh).write(log, "20261207101500", "TEXT", "entry", NewFile::OwnerOnly);
        },
        &usage);
    const long peakMb = usage.ru_maxrss / 1024;
    std::cout << "peak memory of a fresh process adding an entry to a 20 GB log: " << peakMb << " MB\n";
    ASSERT_EQ(status, 0);
    EXPECT_LT(peakMb, 64);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(log));
    const std::string entry = "\r\n[20261207101500]\r\nTEXT=entry\r\n";
    ASSERT_EQ(size, static_cast<std::size_t>(kSize) + entry.size());
    const auto tail = files.readRange(log, static_cast<std::uint64_t>(kSize), entry.size());
    EXPECT_EQ(tail, entry);
}
