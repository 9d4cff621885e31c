#pragma once

#include "ini/SectionNameBounds.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twk::ini {

// What a write must know of a file to tell, without reading it again,
// whether ini::withValue would only add bytes at its end, and which: bounds
// on its section names, the keys of its last section, and how it ends. The
// memory it takes does not grow with the file. A new log entry is such a
// write, so a log of any length takes one in the time of a short append.
class IniIndex {
public:
    // What a write of one value does to the file.
    enum class Verdict {
        Append,  // adds text at the end, and nothing else
        Rewrite, // changes something before the end (or may)
        Unsure,  // a look at the file must tell
    };
    struct Answer {
        Verdict verdict;
        std::string text; // for Append
    };

    // From a scan of the whole file; nullopt when it could not be read.
    static std::optional<IniIndex> of(platform::FileSystem& files, const std::string& path, std::size_t heldLine);
    explicit IniIndex(std::string_view content);

    Answer answer(std::string_view section, std::string_view key, std::string_view value) const;
    bool surelyWithout(std::string_view section) const { return names_.surelyAbsent(section); }

    // Takes in bytes that an Append answer gave and that now end the file.
    void appended(std::string_view text);

private:
    IniIndex() = default;
    void scanAppended(std::string_view text);
    void newLastSection(std::string_view name, bool first);

    SectionNameBounds names_;
    // The file's last section: its name, whether no section of the same name
    // stands before it, the hashes of its keys, and whether its last
    // non-blank line ends the file (then a new key goes at the end).
    bool hasLastSection_ = false;
    std::optional<std::string> lastSection_; // nullopt: too long a name to keep
    std::optional<bool> lastSectionIsFirst_;
    std::vector<std::uint64_t> lastSectionKeys_;
    bool keysComplete_ = true;
    bool lastSectionEndsFile_ = false;
    bool empty_ = true;
    bool endsWithBreak_ = false;
};

} // namespace twk::ini
