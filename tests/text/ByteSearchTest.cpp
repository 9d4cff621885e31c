#include "text/ByteSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using twk::text::FindBytes;

// Every place, at every start, in texts of few byte values, so that first
// and last bytes match often and needles meet the ends of the text and of
// each group of bytes compared together.
TEST(ByteSearch, FindsWhatAPlainSearchFinds)
{
    std::mt19937 random(7);
    const std::string alphabet("01\0\xFF", 4);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const auto randomBytes = [&](std::size_t length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += alphabet[pick(random)];
        return bytes;
    };
    for (int round = 0; round < 2000; ++round) {
        const auto haystack = randomBytes(std::uniform_int_distribution<std::size_t>(0, 80)(random));
        const auto needle = randomBytes(std::uniform_int_distribution<std::size_t>(1, 5)(random));
        for (std::size_t from = 0; from <= haystack.size() + 1; ++from)
            ASSERT_EQ(FindBytes(haystack, needle, from), std::string_view(haystack).find(needle, from))
                << "round " << round << " from " << from;
    }
}

TEST(ByteSearch, FindsAStampAnywhereInALongText)
{
    const std::string stamp = "20261207101500";
    std::string text(1000, 'x');
    for (std::size_t at : {std::size_t{0}, std::size_t{15}, std::size_t{16}, std::size_t{17}, std::size_t{986}}) {
        auto copy = text;
        copy.replace(at, stamp.size(), stamp);
        EXPECT_EQ(FindBytes(copy, stamp), at);
    }
    EXPECT_EQ(FindBytes(text + "2026120710150", stamp), std::string_view::npos); // cut short at the end
    EXPECT_EQ(FindBytes("abc", ""), 0u);
    EXPECT_EQ(FindBytes("abc", "abcd"), std::string_view::npos);
}
