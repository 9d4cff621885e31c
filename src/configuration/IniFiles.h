#pragma once

#include "configuration/IniIndex.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace twk::configuration {

// Reads and writes single values of private-profile files on disk. Every
// write lands whole or not at all: the file on disk is never torn, and an
// append cut short leaves at worst an unfinished last entry after all the
// earlier ones.
//
// A write that only adds at the end of a file (a new log entry) is done as
// an append, so its cost does not grow with the file: for the few files
// written last, an index of what is in them is kept, valid for as long as the
// file's stamp is the one the index was made for. Everything else, and every
// file changed behind the index's back, takes the plain way: read, change,
// replace the whole file. Both ways give the same bytes.
class IniFiles {
public:
    explicit IniFiles(platform::FileSystem& files) : files_(files) {}

    std::optional<std::string> read(const std::string& path, const std::string& section, const std::string& key);
    // False when the file could not be written (missing folder, write
    // protection, full disk) or exists but could not be read.
    bool write(const std::string& path, const std::string& section, const std::string& key, const std::string& value,
               platform::NewFile access);

private:
    struct Indexed {
        std::string path;
        platform::FileStamp stamp;
        IniIndex index;
    };
    static constexpr std::size_t kIndexedFiles = 4;

    Indexed* indexFor(const std::string& path, const std::optional<platform::FileStamp>& stamp);
    Indexed* remember(const std::string& path, const platform::FileStamp& stamp, std::string_view content);
    void forget(const std::string& path);
    bool rewrite(const std::string& path, std::optional<std::string> content, const std::string& section,
                 const std::string& key, const std::string& value, platform::NewFile access);

    platform::FileSystem& files_;
    std::vector<Indexed> indexed_; // the most recently used last
};

} // namespace twk::configuration
