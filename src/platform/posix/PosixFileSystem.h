#pragma once

#include "platform/FileSystem.h"

#include <deque>
#include <string>

namespace twk::platform {

// The real file system of a POSIX machine.
class PosixFileSystem final : public FileSystem {
public:
    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override;
    std::optional<std::size_t> readInto(const std::string& path, std::uint64_t offset, std::span<char> into) override;
    bool replaceWith(const std::string& path, NewFile access, const Producer& produce) override;
    bool append(const std::string& path, std::string_view content) override;
    std::optional<FileStamp> stamp(const std::string& path) override;
    bool isRegularFile(const std::string& path) override;
    bool remove(const std::string& path) override;

private:
    // Leftovers come from writes that died before this process began, so
    // each file is looked at for them once, at its first write here.
    void removeLeftoversOnce(const std::string& target);
    std::deque<std::string> cleaned_;
};

} // namespace twk::platform
