#pragma once

#include "logbrowser/LogFiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twk::logbrowser {

// One saved text of a log, as views into the bytes it was read from.
struct Entry {
    std::string_view section;
    std::string_view key;
    // A clipboard log's text runs from its key line to the next section line,
    // its line breaks as they were copied; a link log's is its one line.
    std::string_view text;
    // Where the entry starts in its file: its section line in a clipboard
    // log, its key line in a link log.
    std::uint64_t offset = 0;
};

// The entries of a piece of a log that starts at a line start, in file order,
// read by the line rules of every reader and writer of the program. Lines
// before the piece's first section line belong to an entry that starts
// earlier: their text is `leading` (empty when the piece starts with a
// section line), and a link log's keys among them count with `section`.
struct PieceEntries {
    std::vector<Entry> entries;
    std::string_view leading;
};

void readEntries(std::string_view bytes, std::uint64_t offset, bool links, PieceEntries& into);

// The entry's time by the names of its file, section and key; 0 when they
// are not the program's.
LogTime entryTime(const LogFile& file, const Entry& entry);

} // namespace twk::logbrowser

namespace twk::platform {
class FileSystem;
}

namespace twk::logbrowser {

struct EntryText {
    std::string text;
    bool cut = false; // longer than the limit: text holds its start
};

// The text of the entry that starts at offset, read up to limit bytes; nullopt
// when the file can no longer be read or no entry starts there.
std::optional<EntryText> readEntryText(platform::FileSystem& files, const LogFile& file, std::uint64_t offset,
                                       std::size_t limit);

} // namespace twk::logbrowser
