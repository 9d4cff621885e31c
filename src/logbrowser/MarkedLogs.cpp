#include "logbrowser/MarkedLogs.h"

#include "ini/IniEncoding.h"

namespace twk::logbrowser {

std::optional<std::string> decodedUtf16Log(platform::FileSystem& files, const std::string& path)
{
    const auto mark = files.readRange(path, 0, 2);
    if (!mark || (*mark != "\xFF\xFE" && *mark != "\xFE\xFF"))
        return std::nullopt;
    const auto stamp = files.stamp(path);
    if (!stamp || stamp->size > kLargestMarked)
        return std::string();
    const auto bytes = files.read(path);
    if (!bytes)
        return std::string();
    return ini::decoded(*bytes).text;
}

std::size_t utf8MarkLength(std::string_view bytes)
{
    return bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

} // namespace twk::logbrowser
