#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twk::capture {

inline constexpr std::size_t kLongestLinkText = 256;

// Whether a captured text counts as a link: it starts with a web, mail, ftp or
// news marker, or, unless strictUrls is 1, holds one of the looser markers
// anywhere. Texts longer than 256 characters are never links.
bool IsLink(std::string_view text, std::string_view strictUrls);

// True when the text starts, in any letter case, with "javascript:".
bool StartsWithJavascript(std::string_view text);

// The address a "javascript:" link opens: the part between the first "('"
// and the first "')" once every space is gone (tabs stay). Nothing when the markers do
// not enclose a part.
std::optional<std::string> JavascriptTarget(std::string_view text);

} // namespace twk::capture
