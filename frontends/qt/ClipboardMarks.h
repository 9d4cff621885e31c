#pragma once

#include "platform/Clipboard.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twk::qt {

// Gives the data of one of the clipboard's formats (a small one), nullopt when refused.
using FormatReader = std::function<std::optional<std::string>(const std::string& format)>;

// What the formats (MIME types or X11 target names) a clipboard offers say of its
// content: a password manager's secret, a file manager's copied files, or neither.
platform::ClipboardMark markOf(const std::vector<std::string>& formats, const FormatReader& read);

} // namespace twk::qt
