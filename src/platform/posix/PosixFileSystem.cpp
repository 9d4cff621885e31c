#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::platform {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool closeChecked()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Write protection counts even for root, as it does for the private-profile
// calls the program's INI format comes from.
bool writeProtected(const struct stat& info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// A NUL inside a path would silently cut it short and name another file.
bool usable(const std::string& path)
{
    return !path.empty() && path.find('\0') == std::string::npos;
}

void syncFolder(const std::string& folder)
{
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

} // namespace

std::optional<std::string> PosixFileSystem::read(const std::string& path)
{
    if (!usable(path))
        return std::nullopt;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return std::nullopt;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

bool PosixFileSystem::replace(const std::string& path, const std::string& content)
{
    if (!usable(path))
        return false;
    mode_t mode = 0644;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || writeProtected(info))
            return false;
        mode = info.st_mode & 07777;
    }
    // Written beside the file and renamed over it: a crash or a full disk
    // leaves the old file whole.
    std::string temporary = path + ".twk-XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (!file.valid())
        return false;
    const bool written = ::fchmod(file.get(), mode) == 0 && writeAll(file.get(), content) && ::fsync(file.get()) == 0 &&
                         file.closeChecked();
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(path));
    return true;
}

bool PosixFileSystem::append(const std::string& path, const std::string& content)
{
    if (!usable(path))
        return false;
    Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (!file.valid())
        return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || writeProtected(info))
        return false;
    if (!writeAll(file.get(), content) || ::fsync(file.get()) != 0) {
        // Take back a partial tail so the file ends where it ended before.
        if (::ftruncate(file.get(), info.st_size) == 0)
            ::fsync(file.get());
        return false;
    }
    return file.closeChecked();
}

std::optional<FileStamp> PosixFileSystem::stamp(const std::string& path)
{
    if (!usable(path))
        return std::nullopt;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    FileStamp result;
    result.size = static_cast<std::uintmax_t>(info.st_size);
    result.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    result.inode = static_cast<std::uint64_t>(info.st_ino);
    result.device = static_cast<std::uint64_t>(info.st_dev);
    return result;
}

bool PosixFileSystem::isRegularFile(const std::string& path)
{
    if (!usable(path))
        return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileSystem::copy(const std::string& from, const std::string& to)
{
    const auto content = read(from);
    return content && replace(to, *content);
}

bool PosixFileSystem::remove(const std::string& path)
{
    if (!usable(path))
        return false;
    return ::unlink(path.c_str()) == 0;
}

} // namespace twk::platform
