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

// The top of the tree: "/" on POSIX, a drive root such as "C:\" on Windows.
inline bool isRootFolder(const std::string& folder)
{
#ifdef _WIN32
    return folder.size() == 3 && folder[1] == ':' && folder[2] == kFolderSeparator;
#else
    return folder == "/";
#endif
}

// A folder as the user should read it: without a closing separator, except
// at a root, which has nothing else to show.
inline std::string folderForDisplay(std::string folder)
{
#ifdef _WIN32
    // The folder lists read a drive named alone ("C:") as its root.
    if (folder.size() == 2 && folder[1] == ':')
        folder += kFolderSeparator;
#endif
    while (!isRootFolder(folder) && folder.size() > 1 && endsWithSeparator(folder))
        folder.pop_back();
    return folder;
}

} // namespace twk::platform
