#include "logbrowser/Matcher.h"

#include "logbrowser/AsciiFold.h"
#include "logbrowser/CaseFold.h"

#include <re2/re2.h>

#include <algorithm>

namespace twk::logbrowser {
namespace {

// The longest run of the folded needle that a matching text must hold byte
// for byte (letters in either case): ASCII characters other than k and s,
// the only ASCII letters that characters outside ASCII fold to (the Kelvin
// sign and the long s).
std::string anchorOf(std::string_view foldedNeedle)
{
    std::string_view best;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= foldedNeedle.size(); ++at) {
        const bool usable = at < foldedNeedle.size() && static_cast<unsigned char>(foldedNeedle[at]) < 0x80 &&
                            foldedNeedle[at] != 'k' && foldedNeedle[at] != 's';
        if (usable)
            continue;
        if (at - start > best.size())
            best = foldedNeedle.substr(start, at - start);
        start = at + 1;
    }
    return std::string(best);
}

} // namespace

std::variant<Matcher, std::string> Matcher::make(std::string_view query, bool regex)
{
    Matcher matcher;
    if (query.empty()) {
        matcher.matchesEverything_ = true;
        return matcher;
    }
    if (regex) {
        RE2::Options options;
        options.set_case_sensitive(false);
        options.set_log_errors(false);
        options.set_dot_nl(false);
        auto expression = std::make_shared<RE2>(re2::StringPiece(query.data(), query.size()), options);
        if (!expression->ok())
            return expression->error();
        matcher.expression_ = std::move(expression);
        // Crude but safe: any sign of an assertion about the text's edges turns the test off.
        matcher.wholePieceTest_ =
            query.find_first_of("^$") == std::string_view::npos && query.find("\\A") == std::string_view::npos &&
            query.find("\\z") == std::string_view::npos && query.find("\\b") == std::string_view::npos &&
            query.find("\\B") == std::string_view::npos;
        return matcher;
    }
    matcher.needle_ = folded(query);
    matcher.asciiOnly_ = std::all_of(matcher.needle_.begin(), matcher.needle_.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    matcher.anchor_ = anchorOf(matcher.needle_);
    return matcher;
}

bool Matcher::mayMatchWithin(std::string_view bytes) const
{
    if (!expression_ || !wholePieceTest_)
        return true;
    return RE2::PartialMatch(re2::StringPiece(bytes.data(), bytes.size()), *expression_);
}

bool Matcher::matches(std::string_view text) const
{
    if (matchesEverything_)
        return true;
    if (expression_)
        return RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), *expression_);
    // An ASCII needle without k or s is its own anchor: no other character folds to its letters.
    if (anchorDecides())
        return findAsciiFolded(text, needle_) != std::string_view::npos;
    return holdsFolded(text, needle_);
}

} // namespace twk::logbrowser
