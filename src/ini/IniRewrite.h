#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace twk::ini {

// Writes the file anew as ini::withValue(content, section, key, value) would
// make it, without ever holding the file: one pass finds the place of the
// change, a second copies the file around it in pieces. False when the file
// could not be read or written, or changed while it was being copied.
bool RewriteWithValue(platform::FileSystem& files, const std::string& path, const std::string& section,
                      const std::string& key, const std::string& value, platform::NewFile access, std::size_t heldLine);

} // namespace twk::ini
