#include "configuration/IniFiles.h"

#include "configuration/IniText.h"

namespace twk::configuration {

std::optional<std::string> IniFiles::read(const std::string& path, const std::string& section, const std::string& key)
{
    const auto content = files_.read(path);
    if (!content)
        return std::nullopt;
    return ini::findValue(*content, section, key);
}

bool IniFiles::write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value)
{
    auto content = files_.read(path);
    if (!content) {
        // A file that is there but cannot be read must not be replaced by one
        // that holds only the new value.
        if (files_.stamp(path))
            return false;
        content.emplace();
    }
    return files_.replace(path, ini::withValue(*content, section, key, value));
}

} // namespace twk::configuration
