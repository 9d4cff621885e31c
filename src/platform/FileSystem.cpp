#include "platform/FileSystem.h"

#include <cstring>

namespace twk::platform {

std::optional<std::size_t> FileSystem::readInto(const std::string& path, std::uint64_t offset, std::span<char> into)
{
    const auto piece = readRange(path, offset, into.size());
    if (!piece)
        return std::nullopt;
    std::memcpy(into.data(), piece->data(), piece->size());
    return piece->size();
}

std::optional<std::string> FileSystem::read(const std::string& path)
{
    std::string content;
    for (;;) {
        const auto piece = readRange(path, content.size(), kPiece);
        if (!piece)
            return std::nullopt;
        content += *piece;
        if (piece->size() < kPiece)
            return content;
    }
}

bool FileSystem::replace(const std::string& path, std::string_view content, NewFile access)
{
    return replaceWith(path, access, [&](const Put& put) { return put(content); });
}

bool FileSystem::copy(const std::string& from, const std::string& to, NewFile access)
{
    if (!isRegularFile(from))
        return false;
    return replaceWith(to, access, [&](const Put& put) {
        for (std::uint64_t offset = 0;;) {
            const auto piece = readRange(from, offset, kPiece);
            if (!piece || !put(*piece))
                return false;
            if (piece->size() < kPiece)
                return true;
            offset += piece->size();
        }
    });
}

} // namespace twk::platform
