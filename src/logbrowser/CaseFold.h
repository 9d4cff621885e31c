#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Case-insensitive comparison of text in every script, without a toolkit:
// both sides are brought to their simple case folding (one character to one,
// from the Unicode tables, see scripts/casefold-table.py), so "STRASSE" finds
// "strasse" and "ΣΟΦΙΑ" finds "σοφια", but "ss" does not find "ß", as in
// most editors' searches. Bytes that are not UTF-8 are kept as they are and
// match only themselves.
namespace twk::logbrowser {

char32_t foldCase(char32_t c);

// The text with every character folded, in UTF-8.
std::string folded(std::string_view utf8);

// Whether folded(text) holds foldedNeedle, without making the folded text
// unless text has a character outside ASCII.
bool holdsFolded(std::string_view text, std::string_view foldedNeedle);

namespace detail {
struct CaseFoldPair {
    std::uint32_t from;
    std::uint32_t to;
};
extern const CaseFoldPair kCaseFolds[];
extern const std::size_t kCaseFoldCount;
} // namespace detail

} // namespace twk::logbrowser
