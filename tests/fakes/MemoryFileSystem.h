#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <string>

namespace twk::testing {

// Files in memory, with stamps that change on every change as the real ones
// do, so the write index can be tested fast and with edits behind its back.
class MemoryFileSystem : public platform::FileSystem {
public:
    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override
    {
        const auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        const auto& content = it->second.content;
        auto bytes = offset < content.size() ? content.substr(offset, length) : std::string();
        bytesRead += bytes.size();
        return bytes;
    }
    bool replaceWith(const std::string& path, platform::NewFile, const Producer& produce) override
    {
        ++replaces;
        std::string content;
        if (!produce([&](std::string_view piece) {
                content += piece;
                return true;
            }))
            return false;
        set(path, content);
        return true;
    }
    bool append(const std::string& path, std::string_view content) override
    {
        ++appends;
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        set(path, it->second.content + std::string(content));
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
    std::size_t bytesRead = 0;
    int replaces = 0;
    int appends = 0;
};

} // namespace twk::testing
