// Holds the log browser's fast plain search to the slow one: on any log bytes
// and any word, passing over the entries the word is not in finds exactly the
// entries that reading every entry and testing it finds.
#include "FuzzCheck.h"
#include "logbrowser/LogEntries.h"
#include "logbrowser/Matcher.h"
#include "logbrowser/PieceMatches.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using namespace twk::logbrowser;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto query = input.ConsumeRandomLengthString(16);
    const auto log = input.ConsumeRemainingBytesAsString();
    auto made = Matcher::make(query, false);
    const auto* matcher = std::get_if<Matcher>(&made);
    if (!matcher)
        return 0;

    PieceEntries read;
    readEntries(log, 0, false, read);
    std::vector<std::uint64_t> expected;
    for (const auto& entry : read.entries)
        if (matcher->matches(entry.text))
            expected.push_back(entry.offset);

    SearchScope scope;
    scope.files.push_back(LogFile{"20261205.txt", "20261205.txt", LogKind::ClipPerDay, 20261205000000, 0});
    PieceMatches piece;
    piece.buffer = log;
    matchPiece(scope, *matcher, piece);
    std::vector<std::uint64_t> found;
    for (const auto& hit : piece.hits)
        found.push_back(hit.offset);
    TWK_FUZZ_CHECK(found == expected);
    TWK_FUZZ_CHECK(piece.leadingMatches == (!read.leading.empty() && matcher->matches(read.leading)));
    return 0;
}
