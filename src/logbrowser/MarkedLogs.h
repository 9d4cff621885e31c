#pragma once

#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>

namespace twk::logbrowser {

// A log saved in UTF-16 (by hand, in an editor that writes it so) is read as
// the INI engine reads it: decoded whole to the program's text, offsets
// counted in that text. Such files are small; one above kLargestMarked is
// left unread. nullopt for a file without a UTF-16 mark.
inline constexpr std::uint64_t kLargestMarked = 64ull << 20;
std::optional<std::string> decodedUtf16Log(platform::FileSystem& files, const std::string& path);

// How many bytes a UTF-8 mark takes at the start of bytes read from offset 0.
std::size_t utf8MarkLength(std::string_view bytes);

} // namespace twk::logbrowser
