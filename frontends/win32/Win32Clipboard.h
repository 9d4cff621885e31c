#pragma once

#include "ClipboardReader.h"
#include "CopyTracker.h"
#include "platform/Clipboard.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace twk::win32 {

// The system clipboard as CF_UNICODETEXT, converted to and from the core's UTF-8
// (Windows makes CF_TEXT of it for programs that ask for that). A ClipboardReader
// reads each change of another program on its own thread when WM_CLIPBOARDUPDATE
// announces it; the interface thread only takes what it has read, and writes. The
// token of a copy is the sequence number it was read under.
class Win32Clipboard final : public platform::Clipboard {
public:
    // The clipboard is written for this window: only an owner may put data on it.
    explicit Win32Clipboard(HWND owner);
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    void setCapturing(bool on) override;
    std::vector<platform::ClipboardCopy> takeCopies() override;
    bool reading() const override;
    void readPresent() override;
    // Both open the clipboard once and act only while GetClipboardSequenceNumber
    // still names what the tick read, so nothing can come between the test and
    // the write; the text is made ready before the clipboard is opened. A text
    // the core did not change is put back as the block it was read from. The
    // put-back is written once the interface thread has answered the messages
    // waiting for it (at the latest before any other write, and at the end).
    bool putBack(platform::ClipboardToken token, const std::string& text) override;
    bool clearIf(platform::ClipboardToken token) override;

    // The present content, read on the calling thread by the reader's rules.
    std::optional<std::string> text() override;
    bool hasText() override;
    bool setText(const std::string& text) override;
    bool clear() override;
    std::uint32_t sequenceNumber() override;
    // Copied files (CF_HDROP), or content its owner keeps out of monitors and
    // histories (ClipboardMarkers).
    std::optional<platform::ClipboardMark> mark() override;
    // Every change comes as WM_CLIPBOARDUPDATE to the reader's window.
    bool announcesChanges() const override { return reader_ != nullptr; }

private:
    static LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void takeArrived();
    void ask();
    // The content replaced with the block's text alone (or emptied, for nullptr),
    // while the sequence number is `expected`, if one is given.
    bool replace(std::optional<std::uint32_t> expected, UnicodeBlock* text);
    // The put-back a tick made ready, if it is not written yet: written now, before
    // anything else is.
    void writePending();

    HWND owner_;
    HWND listener_ = nullptr;
    std::unique_ptr<ClipboardReader> reader_;
    std::mutex mutex_;
    std::vector<ClipboardRead> arrived_; // from the reading thread, not yet taken
    CopyTracker tracker_;
    // The newest content read, as the reader's UTF-16 block, until the tick that
    // takes it as its last copy has put it back or cleared it.
    struct Kept {
        std::uint32_t sequence = 0;
        UnicodeBlock text;
    } kept_;
    struct Pending {
        std::optional<std::uint32_t> expected;
        UnicodeBlock text;
    };
    std::optional<Pending> pending_;
};

} // namespace twk::win32
