#pragma once

#include "platform/Clipboard.h"

#include <windows.h>

namespace twk::win32 {

// The system clipboard in CF_TEXT: the ANSI code page with CR LF line breaks,
// which is exactly what the core keeps, so texts pass through unchanged.
class Win32Clipboard final : public platform::Clipboard {
public:
    // The clipboard is opened for this window: only an owner may put data on it.
    explicit Win32Clipboard(HWND owner);
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    // GetClipboardSequenceNumber: it moves at every change, ours included.
    std::uint32_t sequenceNumber() override;
    // Copied files (CF_HDROP), or content its owner keeps out of clipboard
    // histories by the formats Windows' own history honours.
    std::optional<platform::ClipboardMark> mark() override;
    // Every change comes as WM_CLIPBOARDUPDATE to a window of its own.
    bool announcesChanges() const override { return listener_ != nullptr; }

private:
    static LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    HWND listener_ = nullptr;
};

} // namespace twk::win32
