#pragma once

#include "platform/Clipboard.h"

namespace twk::qt {

// The system clipboard, plain text only. Texts reach the core with CR LF line
// breaks; a text the core puts back unchanged goes back exactly as it came.
class QtClipboard final : public platform::Clipboard {
public:
    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;

private:
    std::string lastRaw_;
    std::string lastConverted_;
};

} // namespace twk::qt
