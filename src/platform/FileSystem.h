#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace twk::platform {

// What the program can tell of a file without reading it.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    // Which file it is: its number on its volume, and the volume. Together
    // they tell a file put in the place of another from the one written before.
    std::uint64_t inode = 0;
    std::uint64_t device = 0;
    bool operator==(const FileStamp&) const = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The whole file, or nullopt when it is missing or unreadable.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Replaces (or creates) the file so that a crash or a full disk leaves
    // either the old content or the new one, never a mix. Fails when the
    // folder is missing or the file is write-protected.
    virtual bool replace(const std::string& path, const std::string& content) = 0;
    // Adds bytes at the end of an existing file and forces them to disk.
    virtual bool append(const std::string& path, const std::string& content) = 0;
    virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
    virtual bool isRegularFile(const std::string& path) = 0;
    virtual bool copy(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& path) = 0;
};

} // namespace twk::platform
