#include "logbrowser/LogEntries.h"
#include "logbrowser/PieceMatches.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace twk::logbrowser {
namespace {

// Bits of hand-edited and damaged logs: section lines good and bad, blanks
// before them, keys without values, every line break the readers know, the
// word in either case, in names and straddling lines, and the two characters
// outside ASCII that fold to ASCII letters (Kelvin sign, long s).
// Split at "|".
constexpr std::string_view kBits = "[20261205101010]|  [20261205101011]|\t[x]|[bad|[]|TEXT=|key=|TEXT|=|clipboard|"
                                   "CLIPBOARD|ClipBoard|clip|board|[clipboard]|TEXT=clipboard|ask|ASK|a\xE2\x84\xAA|"
                                   "\xC5\xBFk|caf\xC3\xA9|\xFF\xFE| |  |x|2026|\r\n|\n|\r|\r\r\n|\r\n|\r\n|\n";

std::string randomLog(std::mt19937& random)
{
    static const std::vector<std::string_view> bits = [] {
        std::vector<std::string_view> split;
        for (std::size_t at = 0; at <= kBits.size();) {
            const auto end = std::min(kBits.find('|', at), kBits.size());
            split.push_back(kBits.substr(at, end - at));
            at = end + 1;
        }
        return split;
    }();
    std::uniform_int_distribution<std::size_t> pick(0, bits.size() - 1);
    std::uniform_int_distribution<int> length(0, 400);
    std::string log;
    for (int i = length(random); i > 0; --i)
        log += bits[pick(random)];
    return log;
}

// Reading every entry and testing it: what the search found before it
// learnt to pass over the entries its word is not in.
std::vector<std::uint64_t> everyEntryTested(std::string_view bytes, const Matcher& matcher, bool& leading)
{
    PieceEntries read;
    readEntries(bytes, 0, false, read);
    leading = !read.leading.empty() && matcher.matches(read.leading);
    std::vector<std::uint64_t> offsets;
    for (const auto& entry : read.entries)
        if (matcher.matches(entry.text))
            offsets.push_back(entry.offset);
    return offsets;
}

TEST(AnchorScan, FindsExactlyTheEntriesThatTestingEveryEntryFinds)
{
    SearchScope scope;
    scope.files.push_back(LogFile{"20261205.txt", "20261205.txt", LogKind::ClipPerDay, 20261205000000, 0});
    std::mt19937 random(20261207);
    const char* const queries[] = {"clipboard", "CLIP", "board", "ask",   "ka",     "skx",
                                   "2026",      "x",    " [",    "=clip", "d\r\nc", "caf\xC3\x89"};
    for (int round = 0; round < 3000; ++round) {
        const std::string log = randomLog(random);
        for (const char* query : queries) {
            const auto matcher = std::get<Matcher>(Matcher::make(query, false));
            ASSERT_FALSE(matcher.anchor().empty()) << query;
            bool leading = false;
            const auto expected = everyEntryTested(log, matcher, leading);
            PieceMatches piece;
            piece.buffer = log;
            matchPiece(scope, matcher, piece);
            std::vector<std::uint64_t> found;
            for (const auto& hit : piece.hits)
                found.push_back(hit.offset);
            ASSERT_EQ(found, expected) << query << " in " << ::testing::PrintToString(log);
            ASSERT_EQ(piece.leadingMatches, leading) << query << " in " << ::testing::PrintToString(log);
        }
    }
}

} // namespace
} // namespace twk::logbrowser
