#pragma once

#include "configuration/NameHashes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twk::configuration {

// What a write must know of a file to tell, without reading it again,
// whether ini::withValue would only add bytes at its end, and which: the
// names of all its sections, the keys of its last section, and how it ends.
// A new log entry is such a write, so a log of any length takes one in the
// time of a short append. Names are kept as hashes; a collision can only make
// a new name look present, which sends that write the slow and exact way.
class IniIndex {
public:
    explicit IniIndex(std::string_view content);

    // The bytes withValue(content, section, key, value) would add at the end
    // of the content, or nothing when it would change anything before the end.
    std::optional<std::string> appendedText(std::string_view section, std::string_view key,
                                            std::string_view value) const;

    // Takes in bytes that appendedText gave and that now end the file.
    void appended(std::string_view text);

    // Whether any line opens a section of that name (or of one whose hash is the same).
    bool hasSection(std::string_view section) const { return sections_.contains(foldedHash(section)); }

    std::size_t sectionCount() const { return sections_.size(); }

private:
    void scan(std::string_view text);

    NameHashSet sections_;
    bool inSection_ = false;
    // The last section line, and whether it is the first of its name: only
    // then does a write into that section land at the end of the file.
    std::string lastSection_;
    bool lastSectionIsFirst_ = false;
    std::vector<std::uint64_t> lastSectionKeys_;
    bool lastLineBlank_ = false;
    bool empty_ = true;
    bool endsWithBreak_ = false;
};

} // namespace twk::configuration
