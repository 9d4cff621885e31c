#pragma once

#include <string>

namespace twk::platform {

// The file a path finally names once every symbolic link on its last part
// is followed, whether or not that file exists. Relative links count from
// the folder that holds the link. A loop of links gives the path unchanged,
// which the calls on it then refuse.
std::string FinalTarget(const std::string& path);

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

} // namespace twk::platform
