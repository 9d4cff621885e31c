#include "configuration/IniFiles.h"

#include "configuration/IniText.h"

#include <algorithm>

namespace twk::configuration {

std::optional<std::string> IniFiles::read(const std::string& path, const std::string& section, const std::string& key)
{
    const auto content = files_.read(path);
    if (!content)
        return std::nullopt;
    return ini::findValue(*content, section, key);
}

bool IniFiles::write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value, platform::NewFile access)
{
    const auto before = files_.stamp(path);
    auto* indexed = indexFor(path, before);
    std::optional<std::string> content;
    if (!indexed && before) {
        // Index what is read, but only when the file did not change while it
        // was read: an index of anything else could append a section twice.
        content = files_.read(path);
        if (content && files_.stamp(path) == before)
            indexed = remember(path, *before, *content);
    }
    if (indexed) {
        if (const auto added = indexed->index.appendedText(section, key, value)) {
            const auto expected = indexed->stamp.size + added->size();
            if (!files_.append(path, *added)) {
                // An append cut short may leave a tail nobody knows: look again next time.
                forget(path);
                return false;
            }
            const auto after = files_.stamp(path);
            if (after && after->size == expected) {
                indexed->index.appended(*added);
                indexed->stamp = *after;
            } else {
                forget(path);
            }
            return true;
        }
    }
    return rewrite(path, std::move(content), section, key, value, access);
}

bool IniFiles::rewrite(const std::string& path, std::optional<std::string> content, const std::string& section,
                       const std::string& key, const std::string& value, platform::NewFile access)
{
    forget(path);
    if (!content) {
        content = files_.read(path);
        if (!content) {
            // A file that is there but cannot be read must not be replaced by
            // one that holds only the new value.
            if (files_.stamp(path))
                return false;
            content.emplace();
        }
    }
    const auto updated = ini::withValue(*content, section, key, value);
    content.reset(); // a long log need not be held twice
    if (!files_.replace(path, updated, access))
        return false;
    if (const auto after = files_.stamp(path))
        remember(path, *after, updated);
    return true;
}

IniFiles::Indexed* IniFiles::indexFor(const std::string& path, const std::optional<platform::FileStamp>& stamp)
{
    const auto found =
        std::find_if(indexed_.begin(), indexed_.end(), [&](const Indexed& entry) { return entry.path == path; });
    if (found == indexed_.end())
        return nullptr;
    if (!stamp || found->stamp != *stamp) {
        indexed_.erase(found); // changed behind our back
        return nullptr;
    }
    std::rotate(found, found + 1, indexed_.end());
    return &indexed_.back();
}

IniFiles::Indexed* IniFiles::remember(const std::string& path, const platform::FileStamp& stamp,
                                      std::string_view content)
{
    forget(path);
    if (stamp.size != content.size())
        return nullptr; // someone else is writing it too
    if (indexed_.size() >= kIndexedFiles)
        indexed_.erase(indexed_.begin());
    indexed_.push_back({path, stamp, IniIndex(content)});
    return &indexed_.back();
}

void IniFiles::forget(const std::string& path)
{
    std::erase_if(indexed_, [&](const Indexed& entry) { return entry.path == path; });
}

} // namespace twk::configuration
