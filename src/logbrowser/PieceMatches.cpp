#include "logbrowser/PieceMatches.h"

#include "logbrowser/AnchorScan.h"
#include "logbrowser/AsciiFold.h"
#include "logbrowser/LogEntries.h"

namespace twk::logbrowser {

void matchPiece(const SearchScope& scope, const Matcher& matcher, PieceMatches& piece)
{
    const std::string_view bytes = piece.bytes();
    const LogFile& file = scope.files[piece.file];
    const auto& anchor = matcher.anchor();
    // A piece without the bytes every match holds has no match, and neither have its leading lines.
    if ((!anchor.empty() && findAsciiFolded(bytes, anchor) == std::string_view::npos) ||
        !matcher.mayMatchWithin(bytes)) {
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
    if (!anchor.empty() && !isLinkLog(file.kind) && !piece.continued) {
        matchAroundAnchor(scope, matcher, piece);
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
    piece.last = hitOf(entries.back());
    for (const auto& entry : entries) {
        if (!matcher.matches(entry.text))
            continue;
        const Hit hit = hitOf(entry);
        if (scope.since == 0 || hit.time >= scope.since)
            piece.hits.push_back(hit);
    }
}

} // namespace twk::logbrowser
