#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twk::platform {

// A legacy 8-bit code page of the system (Windows' ANSI code page): what a
// text file an older program wrote is in, when it is neither marked nor UTF-8.
class CodePage {
public:
    virtual ~CodePage() = default;
    // Every byte means something: a byte the code page leaves undefined
    // becomes the control character of its value, as the system reads it.
    virtual std::string toUtf8(std::string_view bytes) const = 0;
    // Nothing when the text holds a character the code page cannot write.
    virtual std::optional<std::string> fromUtf8(std::string_view text) const = 0;
};

} // namespace twk::platform
