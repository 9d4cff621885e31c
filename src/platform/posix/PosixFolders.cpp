#include "platform/posix/PosixFolders.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace twk::platform {
namespace {

// Mount points in the table escape blanks and a few other characters as \ooo.
std::string unescaped(const std::string& field)
{
    std::string result;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
            result += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            result += field[i];
        }
    }
    return result;
}

bool within(const std::string& folder, const std::string& mount)
{
    if (mount == "/")
        return !folder.empty() && folder.front() == '/';
    return folder == mount ||
           (folder.size() > mount.size() && folder.compare(0, mount.size(), mount) == 0 && folder[mount.size()] == '/');
}

// Mounts that hold no files of a user: the kernel's views, the system's own
// scratch space, read-only package images and boot partitions.
bool holdsUserFiles(const std::string& type, const std::string& mount)
{
    static const std::set<std::string> systemTypes = {
        "autofs", "binfmt_misc", "bpf",      "cgroup",          "cgroup2",     "configfs",      "debugfs",
        "devpts", "devtmpfs",    "efivarfs", "fusectl",         "hugetlbfs",   "mqueue",        "nsfs",
        "proc",   "pstore",      "ramfs",    "rpc_pipefs",      "securityfs",  "selinuxfs",     "squashfs",
        "sysfs",  "tmpfs",       "tracefs",  "fuse.gvfsd-fuse", "fuse.portal", "fuse.snapfuse", "fuse.lxcfs"};
    if (systemTypes.count(type))
        return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib/docker", "/var/snap"})
        if (within(mount, system))
            return false;
    // Removable media appear under /run/media; the rest of /run is the system's.
    return !within(mount, "/run") || within(mount, "/run/media");
}

} // namespace

std::vector<std::string> PosixFolders::drives()
{
    std::vector<std::string> result{"/"};
    std::ifstream table(mountTable_);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mount;
        std::string type;
        if (!(fields >> device >> mount >> type))
            continue;
        mount = unescaped(mount);
        if (!mount.empty() && mount.front() == '/' && holdsUserFiles(type, mount) &&
            std::find(result.begin(), result.end(), mount) == result.end())
            result.push_back(mount);
    }
    std::sort(result.begin() + 1, result.end());
    return result;
}

std::string PosixFolders::driveOf(const std::string& folder)
{
    std::string best = "/";
    for (const auto& mount : drives())
        if (within(folder, mount) && mount.size() > best.size())
            best = mount;
    return best;
}

std::optional<std::vector<std::string>> PosixFolders::subfolders(const std::string& folder)
{
    if (folder.empty() || folder.find('\0') != std::string::npos)
        return std::nullopt;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        const std::string path = (folder.back() == '/' ? folder : folder + "/") + name;
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace twk::platform
