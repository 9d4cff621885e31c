#pragma once

#include <string>

namespace twk::platform {

// The folder separator the program appends and tests for. A folder that ends
// in it is a root ("/" on POSIX, "C:\" on Windows) or a folder the user ended so.
#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

inline bool endsWithSeparator(const std::string& folder)
{
    return !folder.empty() && folder.back() == kFolderSeparator;
}

inline std::string withTrailingSeparator(std::string folder)
{
    if (!endsWithSeparator(folder))
        folder += kFolderSeparator;
    return folder;
}

} // namespace twk::platform

namespace twk::platform {

// A folder as the user should read it: without a closing separator, except
// at a root, which has nothing else to show.
inline std::string folderForDisplay(std::string folder)
{
#ifdef _WIN32
    const bool root = folder.size() == 3 && folder[1] == ':';
#else
    const bool root = folder == "/";
#endif
    while (!root && folder.size() > 1 && endsWithSeparator(folder))
        folder.pop_back();
    return folder;
}

} // namespace twk::platform
