#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace twk::qt {

// How much of a text a text window lays out. Qt lays out every line it is
// given (a whole long line at once), so a text of many megabytes would freeze
// the window for seconds; past this size the window shows the text's end.
constexpr std::size_t kShownTextLimit = 256 * 1024;

// Where the shown part of a text starts: 0 when it fits the limit, otherwise
// at most `limit` bytes before the end, at a line start where one is near, and
// never inside a character.
std::size_t shownFrom(const std::string& text, std::size_t limit);

// The line above a shown end that says how much of the text is left out.
QString leftOutNotice(std::size_t leftOutBytes);

// Whether `added`, converted on its own, shows the same as it would as part of
// `whole` (which already ends with it): no CR LF pair and no character is
// split where it joins the text before it.
bool convertsOnItsOwn(const std::string& whole, std::string_view added);

} // namespace twk::qt
