#include "platform/posix/PosixFolders.h"
#include "fakes/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace twk::platform {
namespace {

using testing::TempFolder;
using testing::writeFile;

TEST(PosixFoldersTest, DrivesAreTheRootThenEachMountAUserKeepsFilesOnOnceWithBlanksRestored)
{
    TempFolder temp;
    const auto table = temp.file("mounts");
    writeFile(table, "overlay / overlay rw 0 0\n"
                     "proc /proc proc rw 0 0\n"
                     "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                     "garbage\n"
                     "/dev/sdc1 /home ext4 rw 0 0\n"
                     "/dev/sdc1 /home ext4 rw 0 0\n"
                     "sysfs /sys sysfs rw 0 0\n"
                     "cgroup /sys/fs/cgroup/memory cgroup rw 0 0\n"
                     "devpts /dev/pts devpts rw 0 0\n"
                     "tmpfs /run tmpfs rw 0 0\n"
                     "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                     "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
                     "/dev/sdb1 /run/media/ann/STICK vfat rw 0 0\n"
                     "/dev/loop3 /snap/core/123 squashfs ro 0 0\n"
                     "/dev/sda1 /boot/efi vfat rw 0 0\n"
                     "/dev/sda3 /data btrfs rw 0 0\n"
                     "server:/export /mnt/shared nfs4 rw 0 0\n");
    PosixFolders folders(table);
    EXPECT_EQ(folders.drives(), (std::vector<std::string>{"/", "/data", "/home", "/media/usb stick", "/mnt/shared",
                                                          "/run/media/ann/STICK"}));
    // The drive of a folder is the deepest mount holding it, never a mere name prefix.
    EXPECT_EQ(folders.driveOf("/home/ann/logs"), "/home");
    EXPECT_EQ(folders.driveOf("/homework"), "/");
    EXPECT_EQ(folders.driveOf("/media/usb stick"), "/media/usb stick");

    PosixFolders withoutTable("/nonexistent/mounts");
    EXPECT_EQ(withoutTable.drives(), std::vector<std::string>{"/"});
    EXPECT_EQ(withoutTable.driveOf("/tmp"), "/");
}

TEST(PosixFoldersTest, SubfoldersListOnlyFoldersSortedAndNothingForAnUnopenableOne)
{
    TempFolder temp;
    std::filesystem::create_directory(temp.file("b"));
    std::filesystem::create_directory(temp.file("a"));
    writeFile(temp.file("file.txt"), "x");
    PosixFolders folders;
    EXPECT_EQ(folders.subfolders(temp.path()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(folders.subfolders(temp.path() + "/"), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(folders.subfolders(temp.file("missing")));
    EXPECT_FALSE(folders.subfolders(temp.file("file.txt")));
    EXPECT_FALSE(folders.subfolders(""));
}

} // namespace
} // namespace twk::platform
