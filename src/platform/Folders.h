#pragma once

#include <optional>
#include <string>
#include <vector>

namespace twk::platform {

// Folder browsing. A "drive" is a place folders hang from: a drive root on
// Windows; on POSIX the root "/" and the mount point of every mounted file system.
class Folders {
public:
    virtual ~Folders() = default;
    virtual std::vector<std::string> drives() = 0;
    // The drive that holds the folder.
    virtual std::string driveOf(const std::string& folder) = 0;
    // The folder's subfolders by name, sorted, or nullopt when it cannot be opened.
    virtual std::optional<std::vector<std::string>> subfolders(const std::string& folder) = 0;
};

} // namespace twk::platform
