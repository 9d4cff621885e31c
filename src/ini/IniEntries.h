#pragma once

#include "ini/IniScan.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Reads a private-profile file entry by entry, from the first to the last,
// in memory bounded whatever the file's size: what a log browser or any
// other tool needs to show a log exactly as the program wrote it.
//
// An entry is a key line with "=" inside a section. The lines are split and
// told apart by IniScan, the rules every reader and writer of the program
// uses; a line that reads as a section line ends the entry before it, also
// when it was written as part of a multi-line text (every reader of the file
// sees a section there). Lines before the first section, blank lines and key
// lines without "=" make no entry.
//
// The value is given as written: every byte after the "=" (no blanks trimmed,
// no quotes taken off, unlike a single value read through IniFiles), so that
// what IniFiles::write wrote is what comes back. Names are trimmed as the
// writer and the readers compare them.
//
// A file with a UTF-8 byte-order mark is read after its mark, its offsets
// still those of the file. A UTF-16 file is decoded as the engine decodes it
// for a write, whole, up to kLargestDecoded bytes: its offsets are those of
// the decoded text, and a larger one fails. Lines may end in CR LF, LF or CR
// alone. A damaged file (garbage lines, a last entry cut short by a crash)
// gives the entries it holds: a last line without its line break is a line.
namespace twk::ini {

// Where an entry's value ends.
enum class ValueEnd {
    // At the end of its key line: a section of many keys (the link logs,
    // the settings).
    LineEnd,
    // At the next section line: a section of one key whose text may run over
    // many lines (the clipboard log). The line break the writer puts after
    // the value is not part of it.
    NextSection,
};

struct IniEntry {
    std::string section;
    std::string key;
    std::string value; // at most the longest bytes asked for
    bool cut = false;  // the value is longer: value holds its start
    // Offsets in the file: its section line, its key line, and the value's
    // bytes [valueBegin, valueEnd), for reading a cut value further.
    std::uint64_t sectionOffset = 0;
    std::uint64_t offset = 0;
    std::uint64_t valueBegin = 0;
    std::uint64_t valueEnd = 0;
};

class IniEntries {
public:
    static constexpr std::size_t kLongest = 1 << 20;
    static constexpr std::uint64_t kLargestDecoded = 64 << 20;

    // Names and values are held up to longest bytes each.
    IniEntries(platform::FileSystem& files, const std::string& path, ValueEnd valueEnd, std::size_t longest = kLongest,
               std::size_t heldLine = IniScan::kHeldLine);
    ~IniEntries();

    // The next entry in file order; false at the end, or when reading failed.
    bool next(IniEntry& entry);
    // Reading the file failed (missing, unreadable, a UTF-16 file too large
    // to decode): the entries given so far are all there is.
    bool failed() const;

private:
    bool nextLine(ScannedLine& line);
    std::optional<std::string> held(std::uint64_t begin, std::uint64_t end, bool& cut);
    // Where a value that runs to next (a section line or the end) ends,
    // without the line break the writer put after it.
    std::uint64_t withoutLastBreak(std::uint64_t valueBegin, std::uint64_t next);

    ValueEnd valueEnd_;
    std::size_t longest_;
    std::unique_ptr<platform::FileSystem> decoded_; // the text of a UTF-16 file
    std::optional<IniScan> scan_;
    std::optional<ScannedLine> pending_; // a section line that ended the last value
    std::string section_;
    std::uint64_t sectionOffset_ = 0;
    bool inSection_ = false;
    bool failed_ = false;
};

} // namespace twk::ini
