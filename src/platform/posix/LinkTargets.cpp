#include "platform/posix/LinkTargets.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::platform {
namespace {

constexpr int kMostLinks = 40; // as the kernel allows

std::string linkText(const std::string& link)
{
    std::string text(PATH_MAX, '\0');
    const ssize_t got = ::readlink(link.c_str(), text.data(), text.size());
    if (got <= 0 || static_cast<std::size_t>(got) >= text.size())
        return {};
    text.resize(static_cast<std::size_t>(got));
    return text;
}

} // namespace

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FinalTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        const auto text = linkText(current);
        if (text.empty())
            return path;
        current = text.front() == '/' ? text : FolderOf(current) + "/" + text;
    }
    return path;
}

} // namespace twk::platform
