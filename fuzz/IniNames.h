#pragma once

#include "ini/IniLines.h"

#include <optional>
#include <string_view>
#include <vector>

namespace twk::fuzz {

struct NamePair {
    std::string_view section;
    std::string_view key;
};

// The names a content holds: every section with an empty key, and every key
// line under a section with its section, at most limit pairs. Fuzzed names
// seldom match the content's own, so the targets ask for these as well.
inline std::vector<NamePair> namePairs(std::string_view content, std::size_t limit)
{
    std::vector<NamePair> pairs;
    ini::Lines lines(content);
    ini::Line line;
    std::optional<std::string_view> section;
    while (pairs.size() < limit && lines.next(line)) {
        const auto text = lines.text(line);
        if (const auto name = ini::sectionName(text)) {
            section = name;
            pairs.push_back({*name, {}});
        } else if (section) {
            if (const auto entry = ini::keyLine(text))
                pairs.push_back({*section, entry->key});
        }
    }
    return pairs;
}

} // namespace twk::fuzz
