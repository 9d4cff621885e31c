#pragma once

#include "platform/CodePage.h"

namespace twk::platform::win32 {

// The system's ANSI code page (1252 on Western Windows), through the system's
// own conversion: what older Windows programs, Notepad's "ANSI" among them,
// wrote text files in.
class AnsiCodePage final : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override;
    std::optional<std::string> fromUtf8(std::string_view text) const override;
};

} // namespace twk::platform::win32
