#pragma once

#include "platform/FileSystem.h"

namespace twk::platform {

// The real file system of a Windows machine. Paths are ANSI text; files are
// read and written as bytes, never in text mode.
class Win32FileSystem final : public FileSystem {
public:
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& content) override;
    bool append(const std::string& path, const std::string& content) override;
    std::optional<FileStamp> stamp(const std::string& path) override;
    bool isRegularFile(const std::string& path) override;
    bool copy(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
};

} // namespace twk::platform
