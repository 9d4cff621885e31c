#pragma once

#include "ini/IniScan.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace twk::ini {

// The names of a plain file's sections that start with a prefix (a day's
// date stamp: every name a capture of that day can take), from every line a
// reader sees as a section line, also one inside a multi-line value. Made by
// one look through the file; afterwards it follows the file as it grows,
// reading only what was added. Memory stays bounded: a file with more such
// names than a busy day gives is not described at all.
class PrefixSections {
public:
    static constexpr std::size_t kMostNames = 1 << 15;
    // Longer names are not kept, so a longer name cannot be answered for.
    static constexpr std::size_t kLongestName = 64;

    // Looks through the file once. Nothing when it cannot be read, changes
    // while it is read or has too many such names, or when the prefix is
    // empty or holds a letter (it is searched for as bytes, which case
    // would change).
    static std::optional<PrefixSections> of(platform::FileSystem& files, const std::string& path, std::string prefix,
                                            std::size_t heldLine = IniScan::kHeldLine);

    // Brings the names up to the file whose stamp is now: the same file,
    // unchanged, or grown at its end (only what was added is read). False
    // when it is another file, shorter, changed otherwise, or could not be
    // read: the names then tell nothing of it.
    bool catchUp(platform::FileSystem& files, const std::string& path, const platform::FileStamp& now,
                 std::size_t heldLine = IniScan::kHeldLine);

    // Whether a section line of the file names name, without regard to case;
    // nothing when name is not one the names tell of.
    std::optional<bool> holds(std::string_view name) const;

    const std::string& prefix() const { return prefix_; }
    const platform::FileStamp& stamp() const { return stamp_; }

private:
    explicit PrefixSections(std::string prefix) : prefix_(std::move(prefix)) {}

    // Takes in the names of the lines from the line start from on, in a file
    // whose stamp must stay expected while it is read.
    bool collect(platform::FileSystem& files, const std::string& path, std::uint64_t from,
                 const platform::FileStamp& expected, std::size_t heldLine);
    std::size_t count() const { return names_.size() + tailNames_.size(); }

    std::string prefix_;
    platform::FileStamp stamp_;
    // Lower case. Lines before tailStart_ end at a line feed, so what is
    // added to the file cannot change them; the last lines can change, and
    // are read again when the file grows.
    std::unordered_set<std::string> names_;
    std::vector<std::string> tailNames_;
    std::uint64_t tailStart_ = 0;
    bool growable_ = false;  // the last lines are short enough to read again
    std::string beforeTail_; // the bytes just before tailStart_: a file rewritten in place has others
};

} // namespace twk::ini
