#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace twk::ini {

// The places where a run of bytes occurs in a file, from an offset on, read
// through one buffer of about block bytes whatever the file's size. With
// each place comes the start of its line as far as the bytes read tell:
// just after the last line feed before it (a line feed always ends a line),
// or where the search began, which must be a line start.
class BytesInFile {
public:
    struct Place {
        std::uint64_t at = 0;
        std::uint64_t lineStart = 0;
    };

    // needle must not be empty.
    BytesInFile(platform::FileSystem& files, std::string path, std::string needle, std::uint64_t from,
                std::size_t block);

    // The next place, in the order of the file; nullopt at the end of the
    // file or when reading failed.
    std::optional<Place> next();
    bool failed() const { return failed_; }

private:
    // Moves on past the line feeds in buffer_ before index before.
    void passFeedsBefore(std::size_t before);
    // Keeps what may begin a place in the next bytes and reads them; false
    // at the end of the file or when reading failed.
    bool readOn();

    platform::FileSystem& files_;
    std::string path_;
    std::string needle_;
    std::size_t size_;               // of buffer_
    std::unique_ptr<char[]> buffer_; // filled by reading alone
    std::size_t held_ = 0;           // bytes of buffer_ read from the file
    std::uint64_t bufferOffset_;     // file offset of buffer_[0]
    std::size_t searchFrom_ = 0;     // where in buffer_ the next place may begin
    std::size_t feedsPassed_ = 0;
    std::uint64_t lineStart_;
    bool atEnd_ = false;
    bool failed_ = false;
};

} // namespace twk::ini
