#pragma once

#include "logbrowser/LogEntries.h"

#include <cstdint>
#include <optional>
#include <string_view>

// How a clipboard log's bytes divide into sections, by the line rules of
// every reader of the program. Whether a line is a section line depends on
// that line alone, so it can be told reading forward or back from anywhere.
namespace twk::logbrowser {

struct SectionLine {
    std::size_t begin;
    std::size_t next; // where the line after it starts
    std::string_view name;
};

// The next section line at or after from (a line start): only lines whose
// first byte other than a blank is "[" are read, so the text between section
// lines is passed over at the speed of a byte search.
std::optional<SectionLine> nextSectionLine(std::string_view bytes, std::size_t from);

// The last section line that begins at or before at; bytes start at a line start.
std::optional<SectionLine> sectionLineBefore(std::string_view bytes, std::size_t at);

// The bytes up to end without the line break the writer put after a value:
// LF, CR LF or CR. More CRs before it belong to the text (a text that ended
// in CR), as the engine's reader of entries gives them back.
std::size_t beforeBreak(std::string_view bytes, std::size_t end);

// The entry of a section whose region (its lines after the section line) ends
// where the next section line begins: its text runs from its first key
// line's value to the line before. None when no key line has a value.
std::optional<Entry> sectionEntry(std::string_view bytes, std::uint64_t offset, const SectionLine& section,
                                  std::size_t regionEnd);

} // namespace twk::logbrowser
