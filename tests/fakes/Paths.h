#pragma once

#include "platform/PathRules.h"

#include <algorithm>
#include <string>

namespace twk::testing {

// Paths as the platform writes them, so that one test reads right on each.
inline const std::string kRootFolder = platform::kFolderSeparator == '/' ? "/" : "C:\\";
inline const std::string kOtherDrive = platform::kFolderSeparator == '/' ? "/media/cdrom" : "D:\\";

// "logs/twk.txt" under a folder, with the platform's separators.
inline std::string under(const std::string& folder, std::string relative)
{
    std::replace(relative.begin(), relative.end(), '/', platform::kFolderSeparator);
    return platform::withTrailingSeparator(folder) + relative;
}

} // namespace twk::testing
