#pragma once

#include "platform/CodePage.h"
#include "text/Utf8.h"

namespace twk::testing {

// A legacy code page for the tests, whatever system they run on: ISO 8859-1,
// whose byte values are the code points U+0000 to U+00FF.
class Latin1CodePage final : public platform::CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override
    {
        std::string text;
        for (const char byte : bytes)
            text::appendUtf8(text, static_cast<unsigned char>(byte));
        return text;
    }

    std::optional<std::string> fromUtf8(std::string_view text) const override
    {
        std::string bytes;
        for (std::size_t at = 0; at < text.size();) {
            const auto character = text::utf8CharacterAt(text, at);
            if (!character.valid || character.codePoint > 0xFF)
                return std::nullopt;
            bytes += static_cast<char>(character.codePoint);
            at += character.length;
        }
        return bytes;
    }
};

} // namespace twk::testing
