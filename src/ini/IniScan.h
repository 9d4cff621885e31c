#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace twk::ini {

// A line of a file as the private-profile rules of IniLines.h see it, by its
// offsets in the file. Name, key and value ranges are trimmed.
struct ScannedLine {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;  // without the line break
    std::uint64_t next = 0; // where the following line starts
    bool blank = true;
    bool section = false;
    std::uint64_t nameBegin = 0;
    std::uint64_t nameEnd = 0;
    bool key = false;      // a key line (never a section line)
    bool hasValue = false; // a key line with "="
    std::uint64_t equals = 0; // where its "=" stands
    std::uint64_t keyBegin = 0;
    std::uint64_t keyEnd = 0;
    std::uint64_t valueBegin = 0;
    std::uint64_t valueEnd = 0;
};

// Reads a file line by line in bounded pieces, from a line start to its end:
// memory stays a few MB whatever the file's size. A line longer than
// heldLine is not held at all but followed byte by byte; everything else is
// read through the rules of IniLines.h, so every reader and writer of the
// program sees a file the same way.
class IniScan {
public:
    static constexpr std::size_t kHeldLine = 1 << 20;

    IniScan(platform::FileSystem& files, std::string path, std::uint64_t from = 0, std::size_t heldLine = kHeldLine);

    // The next line; false at the end of the file or when reading failed.
    bool next(ScannedLine& line);
    // The next section line; faster than next() over lines that are not.
    bool nextSection(ScannedLine& line);
    // The next section line whose name is name (without regard to case).
    bool nextSectionNamed(std::string_view name, ScannedLine& line);
    // Hands each section line that holds the bytes run (as they stand, not
    // without regard to case) to found, in the order of the file, until found
    // returns false; a few other section lines near them may come too. Only
    // those lines are read as lines: the run is searched for as plain bytes,
    // far faster. False when reading failed.
    bool sectionsHolding(std::string_view run, const std::function<bool(const ScannedLine&)>& found);
    bool failed() const { return failed_; }

    // Bytes of the file in [begin, end): a name, key or value of a line just
    // scanned. Held bytes come from memory, the rest from the file.
    std::optional<std::string> bytes(std::uint64_t begin, std::uint64_t end);
    bool nameIs(const ScannedLine& line, std::string_view name);
    bool keyIs(const ScannedLine& line, std::string_view key);

private:
    // Makes sure the buffer holds a whole line from its position, and where
    // the line after it starts, or knows that the line is too long to hold.
    // False at the end of the file.
    bool fill();
    // Where the line that ends at the line break at index at of the held
    // bytes is followed by the next one; npos when the bytes held cannot tell.
    std::size_t nextLineStart(std::size_t at) const;
    // Takes lines until one is a section line (true) or the next one starts
    // beyond offset.
    bool sectionUpTo(std::uint64_t offset, ScannedLine& line);
    // Goes on from a line start further on, leaving out the lines before it.
    void moveTo(std::uint64_t lineStart);
    bool takeHeldLine(std::size_t end, std::size_t next, ScannedLine& line);
    bool takeLongLine(ScannedLine& line);
    std::string_view held() const { return std::string_view(buffer_).substr(position_); }
    bool sameBytes(std::uint64_t begin, std::uint64_t end, std::string_view name);

    platform::FileSystem& files_;
    std::string path_;
    std::size_t heldLine_;
    std::size_t piece_;          // read at a time: small along with heldLine, so tests reach every seam
    std::size_t searchBlock_;    // the same for a name's bytes
    std::string buffer_;         // file bytes from bufferOffset_
    std::uint64_t bufferOffset_; // file offset of buffer_[0]
    std::size_t position_ = 0;   // start of the next line in buffer_
    bool atEnd_ = false;         // the buffer reaches the end of the file
    bool failed_ = false;
};

} // namespace twk::ini
