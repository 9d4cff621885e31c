#include "platform/posix/Temporaries.h"

#include "platform/posix/LinkTargets.h"

#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::platform {
namespace {

constexpr std::string_view kMarker = ".twk-";
constexpr std::size_t kRandomLetters = 6;
constexpr int kAttempts = 100;

std::string randomLetters()
{
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string letters;
    for (std::size_t i = 0; i < kRandomLetters; ++i)
        letters += kLetters[pick(random)];
    return letters;
}

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isTemporaryOf(std::string_view entry, std::string_view prefix)
{
    if (entry.size() != prefix.size() + kRandomLetters || !entry.starts_with(prefix))
        return false;
    for (const char c : entry.substr(prefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Still linked into its folder: a cleaner may have taken it away between its
// creation and its lock.
bool stillThere(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

} // namespace

std::optional<Temporary> CreateTemporary(const std::string& target, mode_t mode)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Temporary temporary{-1, target + std::string(kMarker) + randomLetters()};
        temporary.fd = ::open(temporary.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (temporary.fd < 0) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        while (::flock(temporary.fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        if (stillThere(temporary.fd))
            return temporary;
        ::close(temporary.fd);
    }
    return std::nullopt;
}

void RemoveLeftovers(const std::string& target)
{
    const auto folder = FolderOf(target);
    const auto prefix = baseName(target) + std::string(kMarker);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTemporaryOf(entry->d_name, prefix))
            continue;
        const auto path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // A lock we get at once belongs to no live writer.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_nlink > 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(listing);
}

} // namespace twk::platform
