#pragma once

#include "logbrowser/PieceMatches.h"

namespace twk::logbrowser {

// The matches of a plain search in a piece of a clipboard log, found without
// cutting the whole piece into entries: the matcher's anchor is looked for
// through the piece at the speed of a byte search, and only the entries it
// lands in are read (their section line found back from the hit, their end
// forward) and tested. Finds exactly the entries that reading every entry
// and testing it finds; sets hits and leadingMatches, not last.
void matchAroundAnchor(const SearchScope& scope, const Matcher& matcher, PieceMatches& piece);

} // namespace twk::logbrowser
