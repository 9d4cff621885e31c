#pragma once

#include "platform/FileSystem.h"

#include <optional>
#include <string>

namespace twk::configuration {

// Reads and writes single values of private-profile files on disk. Every
// write lands whole or not at all: the file on disk is never torn.
class IniFiles {
public:
    explicit IniFiles(platform::FileSystem& files) : files_(files) {}

    std::optional<std::string> read(const std::string& path, const std::string& section, const std::string& key);
    // False when the file could not be written (missing folder, write
    // protection, full disk) or exists but could not be read.
    bool write(const std::string& path, const std::string& section, const std::string& key, const std::string& value);

private:
    platform::FileSystem& files_;
};

} // namespace twk::configuration
