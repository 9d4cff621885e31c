#include "platform/posix/XdgFolders.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::platform {

std::optional<std::string> XdgConfigHome(const VariableLookup& variable)
{
    if (auto home = variable("XDG_CONFIG_HOME"); home && !home->empty() && home->front() == '/')
        return home;
    if (auto home = variable("HOME"); home && !home->empty() && home->front() == '/')
        return (home->back() == '/' ? *home : *home + "/") + ".config";
    return std::nullopt;
}

std::optional<std::string> UserProgramFolder(const VariableLookup& variable)
{
    if (auto configHome = XdgConfigHome(variable))
        return *configHome + "/twk3";
    return std::nullopt;
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return false;
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool CanWriteIn(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace twk::platform
