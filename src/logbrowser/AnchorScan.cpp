#include "logbrowser/AnchorScan.h"

#include "logbrowser/AsciiFold.h"
#include "logbrowser/Sections.h"

namespace twk::logbrowser {

void matchAroundAnchor(const SearchScope& scope, const Matcher& matcher, PieceMatches& piece)
{
    const std::string_view bytes = piece.bytes();
    const LogFile& file = scope.files[piece.file];
    const auto& anchor = matcher.anchor();
    const auto first = nextSectionLine(bytes, 0);
    const std::size_t firstBegin = first ? first->begin : bytes.size();
    std::size_t from = 0;
    while (true) {
        const auto hit = findAsciiFolded(bytes, anchor, from);
        if (hit == std::string_view::npos)
            return;
        if (hit < firstBegin) {
            // The lines that end an entry begun in the piece before.
            piece.leadingMatches = matcher.matches(bytes.substr(0, beforeBreak(bytes, firstBegin)));
            from = firstBegin;
            continue;
        }
        const auto section = sectionLineBefore(bytes, hit);
        const auto following = nextSectionLine(bytes, section ? section->next : firstBegin);
        if (!section || (following && following->begin <= hit)) {
            // In the blanks before the "[" of a section line: not a text.
            from = following->next;
            continue;
        }
        const std::size_t next = following ? following->begin : bytes.size();
        const auto entry = sectionEntry(bytes, piece.offset, *section, beforeBreak(bytes, next));
        const auto inText = [&] {
            const auto begin = static_cast<std::size_t>(entry->text.data() - bytes.data());
            return hit >= begin && hit + anchor.size() <= begin + entry->text.size();
        };
        // The anchor is in every text that matches, so the entry's text decides
        // wherever in its section the anchor was seen.
        if (entry && ((matcher.anchorDecides() && inText()) || matcher.matches(entry->text))) {
            const Hit found{piece.file,     entry->offset, entryTime(file, *entry),
                            entry->section, entry->key,    entry->text};
            if (scope.since == 0 || found.time >= scope.since)
                piece.hits.push_back(found);
        }
        from = next;
    }
}

} // namespace twk::logbrowser
