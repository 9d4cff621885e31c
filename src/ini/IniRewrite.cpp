#include "ini/IniRewrite.h"

#include "ini/IniScan.h"
#include "ini/IniText.h"

#include <algorithm>

namespace twk::ini {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The new file: the old one up to cut, then middle, then the old one from resume.
struct Change {
    std::uint64_t cut = 0;
    std::string middle;
    std::uint64_t resume = 0;
};

std::optional<Change> findChange(platform::FileSystem& files, const std::string& path, std::uint64_t size,
                                 const std::string& section, const std::string& key, const std::string& value,
                                 std::size_t heldLine)
{
    IniScan scan(files, path, 0, heldLine);
    ScannedLine line;
    bool inside = false;
    std::uint64_t lastLineNext = 0;
    bool lastLineHasBreak = true;
    while (scan.next(line)) {
        if (line.section) {
            if (inside)
                break;
            inside = scan.nameIs(line, section);
            lastLineNext = line.next;
            lastLineHasBreak = line.end != line.next;
            continue;
        }
        if (!inside)
            continue;
        if (scan.keyIs(line, key)) {
            // The key keeps its spelling; the blanks around it go, as in withValue.
            const auto spelled = scan.bytes(line.keyBegin, line.keyEnd);
            if (!spelled)
                return std::nullopt;
            return Change{line.begin, *spelled + "=" + value, line.end};
        }
        if (!line.blank) {
            lastLineNext = line.next;
            lastLineHasBreak = line.end != line.next;
        }
    }
    if (scan.failed())
        return std::nullopt;
    if (!inside) {
        std::string end;
        if (size > 0) {
            const auto last = files.readRange(path, size - 1, 1);
            if (!last || last->size() != 1)
                return std::nullopt;
            end = *last;
        }
        return Change{size, ini::newSectionText(end, section, key, value), size};
    }
    std::string inserted;
    if (!lastLineHasBreak)
        inserted += kLineEnd;
    inserted += key + "=" + value;
    inserted += kLineEnd;
    return Change{lastLineNext, std::move(inserted), lastLineNext};
}

bool copyRange(platform::FileSystem& files, const std::string& path, std::uint64_t from, std::uint64_t to,
               const platform::FileSystem::Put& put)
{
    while (from < to) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(to - from, platform::FileSystem::kPiece));
        const auto piece = files.readRange(path, from, length);
        if (!piece || piece->size() != length || !put(*piece))
            return false;
        from += length;
    }
    return true;
}

} // namespace

bool RewriteWithValue(platform::FileSystem& files, const std::string& path, const std::string& section,
                      const std::string& key, const std::string& value, platform::NewFile access, std::size_t heldLine)
{
    const auto before = files.stamp(path);
    if (!before) {
        // The value goes out as it stands: a huge one is not copied into the file's text first.
        const auto around = ini::newSectionAround("", section, key);
        return files.replaceWith(path, access, [&](const platform::FileSystem::Put& put) {
            return put(around.before) && put(value) && put(around.after);
        });
    }
    const auto change = findChange(files, path, before->size, section, key, value, heldLine);
    if (!change)
        return false;
    // A value written again as it stands (a window closed where it opened) leaves the
    // file as it is: no copy, no fsync, no new modification time.
    if (change->resume > change->cut && change->resume - change->cut == change->middle.size())
        if (const auto now = files.readRange(path, change->cut, change->middle.size()); now && *now == change->middle)
            return true;
    return files.replaceWith(path, access, [&](const platform::FileSystem::Put& put) {
        return copyRange(files, path, 0, change->cut, put) && put(change->middle) &&
               copyRange(files, path, change->resume, before->size, put) && files.stamp(path) == before;
    });
}

} // namespace twk::ini
