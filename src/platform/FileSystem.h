#pragma once

#include "platform/CodePage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace twk::platform {

// What the program can tell of a file without reading it.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    // Which file it is: its number on its volume, and the volume. Together
    // they tell a file put in the place of another from the one written before.
    std::uint64_t inode = 0;
    std::uint64_t device = 0;
    bool operator==(const FileStamp&) const = default;
};

// Who may read a file that a write has to create. A file that exists keeps
// its own permissions whatever is asked here.
enum class NewFile {
    OwnerOnly, // it will hold copied text: readable by its owner alone
    Usual,     // as the user's defaults (the umask) say
};

// Files of the program. Every path may be a symbolic link, which is followed
// to its final target for reading and for writing alike: a write never turns
// a link into a plain file. A link that points nowhere is written through as
// well: its target is created, in the target's folder, which must exist.
//
// Reads and stamps may come from a second thread while the first one writes
// (a log is looked through in the background at start): an implementation
// keeps no state of its own for them.
class FileSystem {
public:
    // Hands the new content over piece by piece, in order; put returns false
    // once the write has failed. Returning false abandons the write.
    using Put = std::function<bool(std::string_view piece)>;
    using Producer = std::function<bool(const Put& put)>;

    virtual ~FileSystem() = default;

    // Up to length bytes from offset (fewer at the end of the file), or
    // nullopt when the file is missing, unreadable or not a regular file.
    virtual std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) = 0;
    // As readRange, into the caller's buffer: how many bytes it holds now.
    // For reading a large file through one buffer, with no allocation per piece.
    virtual std::optional<std::size_t> readInto(const std::string& path, std::uint64_t offset, std::span<char> into);
    // Replaces (or creates) the file so that a crash or a full disk leaves
    // either the old content or the new one, never a mix: the content is
    // written beside the file (beside the link's target) and put in its place
    // at once. Fails when the folder is missing or the file is
    // write-protected. Temporary files that an earlier, interrupted write of
    // this file left behind (this implementation's own naming, held by no
    // live writer) are removed.
    virtual bool replaceWith(const std::string& path, NewFile access, const Producer& produce) = 0;
    // Adds bytes at the end of an existing file and forces them to disk; a
    // failed append leaves the file as long as it was. Removes leftovers as
    // replaceWith does.
    virtual bool append(const std::string& path, std::string_view content) = 0;
    virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
    virtual bool isRegularFile(const std::string& path) = 0;
    virtual bool remove(const std::string& path) = 0;
    // The code page the system's older programs wrote text files in, where
    // the system has one besides UTF-8 (Windows' ANSI code page); a settings
    // file in it is read and written so. Elsewhere nothing: files are bytes.
    virtual const CodePage* legacyCodePage() const { return nullptr; }

    // The whole file, for files known to be small.
    std::optional<std::string> read(const std::string& path);
    bool replace(const std::string& path, std::string_view content, NewFile access);
    // Copies in bounded pieces into a new or replaced file.
    bool copy(const std::string& from, const std::string& to, NewFile access);

    // The size of the pieces the helpers above read and write.
    static constexpr std::size_t kPiece = 1 << 20;
};

} // namespace twk::platform
