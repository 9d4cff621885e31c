#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace twk::logbrowser {

// Reads a log from its end to its start in pieces of about kPiece bytes, each
// starting at a section line, so the newest entries come first and every
// piece holds whole entries. An entry longer than kLongest is read in pieces
// that start at a line inside it (PieceEntries::leading then holds them).
// Memory stays at one piece whatever the file's size. Reads only the bytes
// the file had when it was opened: what a writer appends meanwhile waits for
// the next look. A log saved in UTF-16 comes decoded, in one piece
// (MarkedLogs.h).
class BackwardPieces {
public:
    static constexpr std::size_t kPiece = 1 << 20;
    static constexpr std::size_t kLongest = 16 << 20;

    // Reads [from, to) of the file; a `to` of 0 (or beyond the file) is its size.
    BackwardPieces(platform::FileSystem& files, std::string path, std::uint64_t from = 0, std::uint64_t to = 0,
                   std::size_t piece = kPiece, std::size_t longest = kLongest);

    // The next piece back; false at the start of the range or when the file
    // can no longer be read.
    bool next();
    std::string_view bytes() const { return std::string_view(buffer_).substr(skip_); }
    // Hands the piece over without a copy: into receives the buffer, whose
    // bytes from the returned index on are the piece, and gives its own in
    // exchange, to be read into next.
    std::size_t exchange(std::string& into)
    {
        buffer_.swap(into);
        return skip_;
    }
    std::uint64_t offset() const { return begin_ + skip_; }
    std::uint64_t size() const { return size_; }
    // The piece starts inside an entry longer than the longest piece.
    bool startsInsideEntry() const { return inside_; }

private:
    platform::FileSystem& files_;
    std::string path_;
    std::uint64_t from_;
    std::size_t piece_;
    std::size_t longest_;
    std::uint64_t size_ = 0;
    std::uint64_t end_ = 0; // where the piece read last begins
    std::string buffer_;
    std::uint64_t begin_ = 0;
    std::size_t skip_ = 0;
    bool failed_ = false;
    bool inside_ = false;
    bool decoded_ = false; // a UTF-16 log, decoded whole into buffer_
};

// Where in bytes the first section line that starts after index 0 begins;
// npos when none. A line start is a byte after a line break, by the line
// rules of every reader of the program.
std::size_t firstSectionStart(std::string_view bytes);
// The first line start after index 0; npos when none.
std::size_t firstLineStart(std::string_view bytes);

} // namespace twk::logbrowser
