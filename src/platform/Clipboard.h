#pragma once

#include <optional>
#include <string>

namespace twk::platform {

// The system clipboard in its standard (plain) text format. Texts are in the
// system's 8-bit encoding; line breaks are CR LF as the program's rules expect.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text: empty when it holds none, nullopt when it cannot be read.
    virtual std::optional<std::string> text() = 0;
    virtual bool hasText() = 0;
    virtual bool setText(const std::string& text) = 0;
    // Drops every format the clipboard holds.
    virtual bool clear() = 0;
};

} // namespace twk::platform
