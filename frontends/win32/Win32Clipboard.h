#pragma once

#include "ClipboardReader.h"
#include "platform/Clipboard.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace twk::win32 {

// The system clipboard as CF_UNICODETEXT, converted to and from the core's
// UTF-8 (Windows makes CF_TEXT of it for programs that ask for that). Content
// is read by a ClipboardReader on its own thread; the interface thread only
// takes what it has read, and writes.
class Win32Clipboard final : public platform::Clipboard {
public:
    // The clipboard is written for this window: only an owner may put data on it.
    explicit Win32Clipboard(HWND owner);
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    // The text of the present content once the reader has read it; until then
    // (and when it could not be read) nullopt, and a read is asked for.
    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    // GetClipboardSequenceNumber: it moves at every change, ours included.
    std::uint32_t sequenceNumber() override;
    // Copied files (CF_HDROP), or content its owner keeps out of monitors and
    // histories (ClipboardMarkers); read with the text, as for text().
    std::optional<platform::ClipboardMark> mark() override;
    // Every change comes as WM_CLIPBOARDUPDATE to the reader's window.
    bool announcesChanges() const override { return reader_ != nullptr; }

private:
    static LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void takeArrived();
    // The read of the present content, or nullptr (then one is asked for).
    ClipboardRead* present();

    HWND owner_;
    HWND listener_ = nullptr;
    std::unique_ptr<ClipboardReader> reader_;
    std::mutex mutex_;
    std::vector<ClipboardRead> arrived_; // from the reading thread, not yet taken
    std::optional<ClipboardRead> present_;
    bool textTaken_ = false;
    bool asked_ = false;
};

} // namespace twk::win32
