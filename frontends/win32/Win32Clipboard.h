#pragma once

#include "platform/Clipboard.h"

#include <windows.h>

namespace twk::win32 {

// The system clipboard in CF_TEXT: the ANSI code page with CR LF line breaks,
// which is exactly what the core keeps, so texts pass through unchanged.
class Win32Clipboard final : public platform::Clipboard {
public:
    // The clipboard is opened for this window: only an owner may put data on it.
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}

    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    // GetClipboardSequenceNumber: it moves at every change, ours included.
    std::uint32_t sequenceNumber() override;
    // Copied files (CF_HDROP), or content its owner keeps out of clipboard
    // histories by the formats Windows' own history honours.
    std::optional<platform::ClipboardMark> mark() override;

private:
    HWND owner_;
};

} // namespace twk::win32
