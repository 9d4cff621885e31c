#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/LinkTargets.h"
#include "platform/posix/Temporaries.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::platform {
namespace {

constexpr std::size_t kCleanedRemembered = 64;

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

bool writeAll(int fd, std::string_view content)
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

mode_t creationMode(NewFile access)
{
    return access == NewFile::OwnerOnly ? 0600 : 0666; // the umask takes its part of the second
}

// Reads up to length bytes from offset of a regular file into the space
// that room gives for the bytes available there; how many it read.
template <typename Room>
std::optional<std::size_t> readRegular(const std::string& path, std::uint64_t offset, std::size_t length, Room room)
{
    if (!usable(path))
        return std::nullopt;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return std::nullopt;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    const auto available = static_cast<std::size_t>(offset < size ? std::min<std::uint64_t>(length, size - offset) : 0);
    char* into = room(available);
    std::size_t got = 0;
    while (got < available) {
        const ssize_t n = ::pread(file.get(), into + got, available - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break; // shortened meanwhile
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace

std::optional<std::string> PosixFileSystem::readRange(const std::string& path, std::uint64_t offset, std::size_t length)
{
    std::string content;
    const auto got = readRegular(path, offset, length, [&](std::size_t available) {
        content.assign(available, '\0');
        return content.data();
    });
    if (!got)
        return std::nullopt;
    content.resize(*got);
    return content;
}

std::optional<std::size_t> PosixFileSystem::readInto(const std::string& path, std::uint64_t offset,
                                                     std::span<char> into)
{
    return readRegular(path, offset, into.size(), [&](std::size_t) { return into.data(); });
}

bool PosixFileSystem::replaceWith(const std::string& path, NewFile access, const Producer& produce)
{
    if (!usable(path))
        return false;
    // Through a link to its target, so the link stays a link.
    const auto target = FinalTarget(path);
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && (!S_ISREG(info.st_mode) || writeProtected(info)))
        return false;
    removeLeftoversOnce(target);

    // Written beside the file and renamed over it: a crash or a full disk
    // leaves the old file whole.
    const auto temporary = CreateTemporary(target, creationMode(access));
    if (!temporary)
        return false;
    Descriptor file(temporary->fd);
    const Put put = [&](std::string_view piece) { return writeAll(file.get(), piece); };
    // The lock stays until the rename is done, so no cleaner takes the file.
    const bool written = (!exists || ::fchmod(file.get(), info.st_mode & 07777) == 0) && produce(put) &&
                         ::fsync(file.get()) == 0 && ::rename(temporary->path.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporary->path.c_str());
        return false;
    }
    file.closeChecked();
    syncFolder(FolderOf(target));
    return true;
}

bool PosixFileSystem::append(const std::string& path, std::string_view content)
{
    if (!usable(path))
        return false;
    Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (!file.valid())
        return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || writeProtected(info))
        return false;
    removeLeftoversOnce(FinalTarget(path));
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

bool PosixFileSystem::remove(const std::string& path)
{
    if (!usable(path))
        return false;
    return ::unlink(path.c_str()) == 0;
}

void PosixFileSystem::removeLeftoversOnce(const std::string& target)
{
    if (std::find(cleaned_.begin(), cleaned_.end(), target) != cleaned_.end())
        return;
    RemoveLeftovers(target);
    cleaned_.push_back(target);
    if (cleaned_.size() > kCleanedRemembered)
        cleaned_.pop_front();
}

} // namespace twk::platform
