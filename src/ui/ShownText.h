#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace twk::ui {

// How much of a text a text window lays out. Widgets lay out every line they
// are given, so a text of many megabytes would freeze the window for seconds;
// past this size a window shows the text's end, read-only, under a line that
// says how much is left out.
constexpr std::size_t kShownTextLimit = 256 * 1024;

// Where the shown part of a text starts: 0 when it fits the limit, otherwise
// at most `limit` bytes before the end, at a line start where one is near, and
// never inside a character or a CR LF pair.
std::size_t shownFrom(std::string_view text, std::size_t limit);

// The line above a shown end that says how much of the text is left out.
std::string leftOutNotice(std::size_t leftOutBytes);

// Whether `added`, shown on its own, shows the same as it does as part of
// `whole` (which already ends with it): no CR LF pair and no character is
// split where it joins the text before it.
bool convertsOnItsOwn(std::string_view whole, std::string_view added);

} // namespace twk::ui
