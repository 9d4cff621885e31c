#pragma once

#include <optional>
#include <string>

namespace twk::platform::win32 {

// The file a path finally names once symbolic links are followed: the path
// itself when it is no link or names nothing yet, nullopt for a link whose
// target is missing (replacing it would turn the link into a plain file).
std::optional<std::wstring> FinalTarget(const std::wstring& path);

} // namespace twk::platform::win32
