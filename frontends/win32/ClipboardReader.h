#pragma once

#include "GlobalBlock.h"
#include "platform/Clipboard.h"
#include "platform/Environment.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace twk::win32 {

// What the reading thread made of one announced change, or of one request.
struct ClipboardRead {
    enum class Result {
        read,   // read: mark, and text for content without a mark
        ours,   // an announced change put there by the program itself: not read
        known,  // an announced change whose content an earlier read has read
        failed, // not readable: another program held the clipboard throughout, or its
                // owner did not answer
    };
    Result result = Result::failed;
    // Asked for by request(), rather than the reading of an announced change; with
    // the tag it was asked with.
    bool requested = false;
    std::uint32_t tag = 0;
    // GetClipboardSequenceNumber of the content (for a read, taken at its end, with
    // the clipboard still open: what was read is what that number names).
    std::uint32_t sequence = 0;
    platform::ClipboardMark mark = platform::ClipboardMark::none;
    // UTF-8, line breaks as the owner gave them (CR LF on Windows); read only for
    // content without a mark, empty when it offers no text.
    std::string text;
    // The same text as it was read, a CF_UNICODETEXT block ready to be put back
    // unchanged; empty with the text.
    UnicodeBlock unicode;
    // The local time the change was announced (or the read asked for).
    platform::LocalDateTime announcedAt;
};

// Reads the clipboard on a thread of its own, so that a huge text or a slow
// owner never holds up the interface. The thread owns a message-only window
// (the clipboard opens only for a window of the opening thread) that listens
// for WM_CLIPBOARDUPDATE. A read keeps the clipboard open only to copy the
// data out; an owner that renders on demand is first asked a WM_NULL, and one
// that does not answer within kOwnerPatienceMs is not read, so the clipboard
// is never opened on a silent owner.
class ClipboardReader {
public:
    static constexpr DWORD kOwnerPatienceMs = 3000;

    // Both run on the reading thread, and never after the reader is destroyed.
    struct Events {
        std::function<void()> changed;           // a change was announced
        std::function<void(ClipboardRead)> read; // the change, or the request, is handled
    };

    // `ours` is the window the program's own content is put with: an announced
    // change of ours is not read. nullptr when no thread or window can be made.
    static std::unique_ptr<ClipboardReader> start(HWND ours, Events events);
    ~ClipboardReader();
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // Read every change of another program as it is announced.
    void follow(bool on);
    // Read what the clipboard holds now, ours included; the read carries `tag`.
    void request(std::uint32_t tag = 0);

    struct Shared;

private:
    explicit ClipboardReader(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> shared_;
};

// One read of the clipboard as it is now, on the calling thread, which owns
// `window`; by the same rules as the reader's (an owner is asked a WM_NULL first).
ClipboardRead readClipboardNow(HWND window, HWND ours);

} // namespace twk::win32
