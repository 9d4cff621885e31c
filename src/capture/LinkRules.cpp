#include "capture/LinkRules.h"

#include "text/Characters.h"
#include "text/Numbers.h"

#include <algorithm>
#include <array>

namespace twk::capture {
namespace {

constexpr std::array<std::string_view, 6> kPrefixes = {"http", "www.", "mailto:", "ftp", "nntp", "news."};

constexpr std::array<std::string_view, 32> kContained = {
    "http", "mailto:", "://",  "www.",  ".com",  ".net",  ".org", ".info", ".name", "@",       ".edu",
    ".gov", "https",   "ftp.", "news.", "nntp.", "mail.", ".us",  ".biz",  ".coop", ".museum", ".aero",
    ".mil", ".int",    ".ca",  ".ch",   ".cn",   ".co",   ".de",  ".fr",   ".ru",   ".uk"};

constexpr std::string_view kJavascript = "javascript:";

} // namespace

bool IsLink(std::string_view text, std::string_view strictUrls)
{
    // A text of exactly the limit is still examined.
    if (text::characterCount(text) > kLongestLinkText)
        return false;
    const std::string lower = text::asciiLower(text);
    const std::string_view l = lower;
    if (std::any_of(kPrefixes.begin(), kPrefixes.end(), [&](auto token) { return l.starts_with(token); }))
        return true;
    if (text::numberEquals(strictUrls, 1))
        return false;
    return std::any_of(kContained.begin(), kContained.end(),
                       [&](auto token) { return l.find(token) != std::string_view::npos; });
}

bool StartsWithJavascript(std::string_view text)
{
    return text::asciiLower(text.substr(0, kJavascript.size())) == kJavascript;
}

std::optional<std::string> JavascriptTarget(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(s), [](char c) { return c != ' '; });

    // 1-based positions, 0 for a marker that is absent.
    const auto position = [&](std::string_view marker) -> long long {
        const auto at = s.find(marker);
        return at == std::string::npos ? 0 : static_cast<long long>(at) + 1;
    };
    const long long start = position("('") + 2;
    const long long length = position("')") - start;
    if (length < 0)
        return std::nullopt;
    if (start > static_cast<long long>(s.size()))
        return std::string();
    return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

} // namespace twk::capture
