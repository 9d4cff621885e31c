#pragma once

#include "ini/IniIndex.h"
#include "ini/IniScan.h"
#include "ini/SectionPrefetch.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace twk::ini {

// What a look for a section name found. A write told of a look that found
// the name missing adds the section at the end without reading the file
// again, as long as the file is still as the look saw it.
struct SectionLook {
    bool present = false;
    std::string path;
    std::string section;
    std::optional<platform::FileStamp> missingIn; // the file's stamp when the name was found missing
};

// Reads and writes single values of private-profile files on disk, in
// memory bounded whatever the file's size. Every write lands whole or not at
// all: the file on disk is never torn, and an append cut short leaves at
// worst an unfinished last entry after all the earlier ones.
//
// A write that only adds at the end of a file (a new log entry) is done as
// an append, so its cost does not grow with the file. The first write of a
// file in a run looks through it once for the one section name it writes,
// at the speed of reading, or asks a look through it for the day's section
// names that began in the background at start (SectionPrefetch); from its
// second write on, an index of the file
// (IniIndex) answers without reading, for the few files written last, for
// as long as the file's stamp is the one the index was made for.
// Everything else, and every file changed behind the index's back, takes
// the plain way: the whole file written anew, in pieces, with the one
// change. Both ways give the bytes of ini::withValue.
//
// A file saved with a byte-order mark or with CR line ends is a small
// hand-edited one: it is read, changed and written whole in its own form
// (IniEncoding.h), up to kLargestWholeFile. A larger one with a UTF-8 mark
// is a log that grew: after its mark it is plain, and is read and written in
// pieces, its mark kept.
class IniFiles {
public:
    explicit IniFiles(platform::FileSystem& files, std::size_t heldLine = IniScan::kHeldLine)
        : files_(files), heldLine_(heldLine), prefetch_(files, heldLine)
    {
    }

    // The value, at most longest bytes of it.
    std::optional<std::string> read(const std::string& path, const std::string& section, const std::string& key,
                                    std::size_t longest = std::numeric_limits<std::size_t>::max());
    // Whether a line of the file opens a section of that name, as a reader
    // sees it: also one that stands inside an earlier multi-line value.
    // Not present for a missing or unreadable file.
    SectionLook lookForSection(const std::string& path, const std::string& section);
    bool hasSection(const std::string& path, const std::string& section)
    {
        return lookForSection(path, section).present;
    }
    // Starts looking through the file, in the background, for the section
    // names that begin with prefix (no letters in it), so that hasSection
    // can answer for such a name without reading the file again.
    void prefetchSections(const std::string& path, const std::string& prefix) { prefetch_.start(path, prefix); }
    // Whether the first section of that name holds the key.
    bool hasKey(const std::string& path, const std::string& section, const std::string& key);
    // False when the file could not be written (missing folder, write
    // protection, full disk) or exists but could not be read. A file that
    // has to be created is readable as access says.
    // A look at the section made just before may spare the write a read.
    bool write(const std::string& path, const std::string& section, const std::string& key, const std::string& value,
               platform::NewFile access, const SectionLook& look = SectionLook{});

private:
    struct Indexed {
        std::string path;
        platform::FileStamp stamp;
        std::optional<IniIndex> index; // made at the second write of a run
    };
    static constexpr std::size_t kIndexedFiles = 4;
    static constexpr std::uint64_t kLargestWholeFile = 64 << 20;

    // The whole content of a file not in plain form; nullopt for a plain
    // file; an empty optional inside for one that could not be read.
    std::optional<std::optional<std::string>> wholeIfNotPlain(const std::string& path,
                                                              const platform::FileStamp& stamp);

    IniIndex::Answer plan(const std::string& path, const platform::FileStamp& stamp, Indexed* entry,
                          const SectionLook& look, const std::string& section, const std::string& key,
                          const std::string& value);
    IniIndex::Answer probe(const std::string& path, const platform::FileStamp& stamp, const std::string& section,
                           const std::string& key, const std::string& value);
    bool rewrite(const std::string& path, const std::string& section, const std::string& key, const std::string& value,
                 platform::NewFile access);
    std::optional<std::string> lastByte(const std::string& path, std::uint64_t size);
    // The file's index entry if it is still for the file as it stands; changes nothing.
    const Indexed* indexedFor(const std::string& path, const platform::FileStamp& stamp) const;
    // For a write: the entry made the most recently used one; a stale one is dropped.
    Indexed* usedEntry(const std::string& path, const platform::FileStamp& stamp);
    void remember(const std::string& path, const platform::FileStamp& stamp, std::optional<IniIndex> index);
    void forget(const std::string& path);

    platform::FileSystem& files_;
    std::size_t heldLine_;
    std::vector<Indexed> indexed_; // the most recently used last
    SectionPrefetch prefetch_;
};

} // namespace twk::ini
