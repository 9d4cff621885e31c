#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <string>

namespace twk::testing {

// Files in memory, with stamps that change on every change as the real ones
// do, so the write index can be tested fast and with edits behind its back.
class MemoryFileSystem : public platform::FileSystem {
public:
    std::optional<std::string> read(const std::string& path) override
    {
        ++reads;
        const auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return it->second.content;
    }
    bool replace(const std::string& path, const std::string& content) override
    {
        ++replaces;
        set(path, content);
        return true;
    }
    bool append(const std::string& path, const std::string& content) override
    {
        ++appends;
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        set(path, it->second.content + content);
        return true;
    }
    std::optional<platform::FileStamp> stamp(const std::string& path) override
    {
        const auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return it->second.stamp;
    }
    bool isRegularFile(const std::string& path) override { return files.count(path) > 0; }
    bool copy(const std::string& from, const std::string& to) override
    {
        const auto content = read(from);
        return content && replace(to, *content);
    }
    bool remove(const std::string& path) override { return files.erase(path) > 0; }

    // Any change, ours or an editor's: a new modification time.
    void set(const std::string& path, const std::string& content)
    {
        auto& file = files[path];
        file.content = content;
        file.stamp = {content.size(), ++clock, 7};
    }

    struct File {
        std::string content;
        platform::FileStamp stamp;
    };
    std::map<std::string, File> files;
    std::int64_t clock = 0;
    int reads = 0;
    int replaces = 0;
    int appends = 0;
};

} // namespace twk::testing
