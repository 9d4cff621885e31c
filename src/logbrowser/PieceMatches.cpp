#include "logbrowser/PieceMatches.h"

#include "logbrowser/AsciiFold.h"
#include "logbrowser/LogEntries.h"

namespace twk::logbrowser {

void matchPiece(const SearchScope& scope, const Matcher& matcher, PieceMatches& piece)
{
    const std::string_view bytes = piece.bytes();
    const LogFile& file = scope.files[piece.file];
    const auto& anchor = matcher.anchor();
    // A piece without the bytes every match holds has no match, and neither have its leading lines.
    if (!anchor.empty() && findAsciiFolded(bytes, anchor) == std::string_view::npos) {
        if (!piece.continued)
            return;
        thread_local PieceEntries lastOnly;
        readEntries(bytes, piece.offset, isLinkLog(file.kind), lastOnly);
        piece.hasEntries = !lastOnly.entries.empty();
        if (piece.hasEntries) {
            const Entry& entry = lastOnly.entries.back();
            piece.last = Hit{piece.file, entry.offset, entryTime(file, entry), entry.section, entry.key, entry.text};
        }
        return;
    }
    thread_local PieceEntries read;
    readEntries(bytes, piece.offset, isLinkLog(file.kind), read);
    piece.leadingMatches = !read.leading.empty() && matcher.matches(read.leading);
    const auto& entries = read.entries;
    piece.hasEntries = !entries.empty();
    if (!piece.hasEntries)
        return;
    const auto hitOf = [&](const Entry& entry) {
        return Hit{piece.file, entry.offset, entryTime(file, entry), entry.section, entry.key, entry.text};
    };
    const auto take = [&](const Entry& entry) {
        const Hit hit = hitOf(entry);
        if (scope.since == 0 || hit.time >= scope.since)
            piece.hits.push_back(hit);
    };
    piece.last = hitOf(entries.back());
    if (anchor.empty()) {
        for (const auto& entry : entries)
            if (matcher.matches(entry.text))
                take(entry);
        return;
    }
    // Only the entries that hold the anchor need a closer look: it is looked
    // for once through the whole piece.
    const char* base = bytes.data();
    std::size_t i = 0;
    std::size_t from = 0;
    while (i < entries.size()) {
        const auto hit = findAsciiFolded(bytes, anchor, from);
        if (hit == std::string_view::npos)
            break;
        while (i < entries.size() &&
               static_cast<std::size_t>(entries[i].text.data() - base) + entries[i].text.size() < hit + anchor.size())
            ++i;
        if (i == entries.size())
            break;
        const auto textBegin = static_cast<std::size_t>(entries[i].text.data() - base);
        if (hit < textBegin) {
            from = hit + 1; // in a section or key name
            continue;
        }
        if (matcher.matches(entries[i].text))
            take(entries[i]);
        from = textBegin + entries[i].text.size();
        ++i;
    }
}

} // namespace twk::logbrowser
