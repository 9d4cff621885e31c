#pragma once

#include "platform/FileSystem.h"

namespace twk::platform {

// The real file system of a POSIX machine.
class PosixFileSystem final : public FileSystem {
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
