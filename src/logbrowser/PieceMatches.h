#pragma once

#include "logbrowser/LogSearch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twk::logbrowser {

// What one piece of a log holds for a search: the piece's bytes, and views
// into them for its matching entries, in file order.
struct PieceMatches {
    std::string buffer; // the piece is buffer from skip on
    std::size_t skip = 0;
    std::string_view bytes() const { return std::string_view(buffer).substr(skip); }
    std::uint64_t offset = 0;
    std::size_t file = 0;
    // The piece read before it (later in the file) started inside an entry
    // that this piece's last entry begins.
    bool continued = false;
    std::vector<Hit> hits;
    // The piece's last entry, which a match in the lines that continue it
    // (the leading lines of the piece after it) makes a match too. Only
    // looked for in a continued piece: no other piece's last entry goes on.
    std::optional<Hit> last;
    bool hasEntries = false;
    // The lines before the piece's first section line match: they end an
    // entry that starts in the piece before.
    bool leadingMatches = false;
};

// Finds the matches of a piece read from scope.files[piece.file] at piece.offset.
void matchPiece(const SearchScope& scope, const Matcher& matcher, PieceMatches& piece);

} // namespace twk::logbrowser
