#include "platform/posix/PosixFileSystem.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using twk::testing::TempFolder;
using twk::testing::writeFile;

TEST(PosixFileSystemTest, ReplacingKeepsTheFilesMode)
{
    TempFolder folder;
    const auto path = folder.file("twk3.ini");
    writeFile(path, "[TWK]\r\n");
    ::chmod(path.c_str(), 0600);
    twk::platform::PosixFileSystem files;
    ASSERT_TRUE(files.replace(path, "[TWK]\r\nON=1\r\n"));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}
