#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace re2 {
class RE2;
}

namespace twk::logbrowser {

// What a search looks for in an entry's text: plain text without regard to
// case (CaseFold.h), or a regular expression. Expressions are RE2's: they run
// in time linear in the text whatever is typed, so a half-typed pattern such
// as "(a*)*b" cannot hang the search, and they read UTF-8 as it is stored.
// Expressions ignore case as well, unless they say (?-i).
class Matcher {
public:
    // A plain matcher, or the reason an expression cannot be used.
    static std::variant<Matcher, std::string> make(std::string_view query, bool regex);

    bool matchesEverything() const { return matchesEverything_; }
    bool matches(std::string_view text) const;
    // Bytes that every matching text holds as they stand, ASCII letters in
    // either case, so a piece of a log without them needs no closer look;
    // empty when no such bytes are known.
    const std::string& anchor() const { return anchor_; }
    // Every text that holds the anchor matches: the anchor is the whole needle.
    bool anchorDecides() const { return !expression_ && asciiOnly_ && anchor_.size() == needle_.size(); }
    // False when no text within these bytes can match, so a piece of a log
    // can be passed over without cutting it into entries. An expression is
    // run once over the whole piece: a match inside an entry's text is a
    // match of the piece, unless the expression looks at where its text
    // begins or ends (^, $, \A, \z, \b, \B), which the piece does not show.
    bool mayMatchWithin(std::string_view bytes) const;

private:
    Matcher() = default;

    bool matchesEverything_ = false;
    std::string needle_; // folded, for plain text
    bool asciiOnly_ = false;
    std::string anchor_;
    std::shared_ptr<const re2::RE2> expression_;
    bool wholePieceTest_ = false;
};

} // namespace twk::logbrowser
