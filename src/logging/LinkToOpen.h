#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twk::logging {

// What a double-click in the Link Catcher hands to the desktop for the text
// the user selected: an address with its scheme as it is, a "www." address as
// a web page, an e-mail address to the mail program. Brackets and closing
// punctuation around it are not part of it. A word that is no address gives
// nothing: the desktop would take it for a web site.
std::optional<std::string> LinkToOpen(std::string_view selected);

} // namespace twk::logging
