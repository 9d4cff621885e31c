#pragma once

#include "platform/Clipboard.h"
#include "platform/CopyQueue.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace twk::x11 {
class XConnection;
}

namespace twk::qt {

// Follows the X11 clipboard on a thread and a connection of its own: hears of each change
// from XFixes the moment it is made, and reads the new content at once (marks first, then
// the plain text), whatever the interface thread is doing (a tick writing its log, a box).
// A change overtaken by the next before its read ended is gone from X11 and yields no copy;
// an owner silent for kOwnerPatience yields none either. While capture is off, changes are
// only noted: nothing is asked of their owners.
//
// Tokens: the owner's window in the high 32 bits, the selection's time stamp in the low
// ones (0 for the content found at start, whose time is not known).
class ClipboardFetcher {
public:
    static constexpr std::chrono::milliseconds kOwnerPatience{3000};
    // Called on the fetching thread when a copy was queued or a read ended.
    using Changed = std::function<void()>;

    // nullptr where there is no X11 display with XFixes to follow.
    static std::unique_ptr<ClipboardFetcher> start(Changed changed);
    ~ClipboardFetcher();
    ClipboardFetcher(const ClipboardFetcher&) = delete;
    ClipboardFetcher& operator=(const ClipboardFetcher&) = delete;

    // As platform::Clipboard::setCapturing.
    void setCapturing(bool on);
    // Reads another program's present content once more, as a copy.
    void readPresent();
    // The copies read, oldest first; `raw` gets the newest one's bytes as its owner gave
    // them (null when there is none).
    std::vector<platform::ClipboardCopy> take(QByteArray& raw);
    bool reading() const;
    // Whether the clipboard still holds the content `token` names: no newer change heard
    // of, and the same owner on the server now.
    bool stillHolds(platform::ClipboardToken token);
    // The token of what the clipboard holds, as far as heard.
    platform::ClipboardToken present() const;
    // Our own write (a put-back or a clear) is about to change the clipboard, and has: its
    // change is no copy. From the interface thread.
    void ownWriteBegins();
    void ownWriteEnded();

private:
    struct Change {
        platform::ClipboardToken token = 0;
        platform::LocalDateTime at;
    };

    ClipboardFetcher(std::unique_ptr<x11::XConnection> x, std::unique_ptr<x11::XConnection> checks,
                     std::uint8_t announcement, int wakeRead, int wakeWrite, Changed changed);
    void run();
    void wake();
    void heard(const xcb_generic_event_t& event);
    xcb_window_t ownerNow(x11::XConnection& x);
    // The changes the checks' connection heard of, up to now (interface thread).
    void settleChecks();

    std::unique_ptr<x11::XConnection> x_; // the fetching thread's
    // The interface thread's, for its checks: a reply read on x_ from there could take
    // in an event the fetching thread then waits for in vain.
    std::unique_ptr<x11::XConnection> checks_;
    std::uint8_t announcement_;
    xcb_atom_t clipboard_;
    xcb_atom_t checkedClipboard_;
    std::optional<platform::ClipboardToken> checkedPresent_; // the newest change the checks heard of
    int wakeRead_;
    int wakeWrite_;
    Changed changed_;

    mutable std::mutex mutex_;
    bool stopping_ = false;
    bool capturing_ = false;
    bool told_ = false;
    bool wantPresent_ = false;
    std::optional<Change> toRead_; // the newest change not read yet
    bool readingNow_ = false;
    std::uint64_t generation_ = 0; // advanced when capture goes off: reads under way are dropped
    platform::ClipboardToken present_ = 0;
    xcb_window_t ownWindow_ = XCB_NONE;
    bool ownWritePending_ = false;
    std::vector<Change> heldBack_; // changes heard while our own write was under way
    platform::CopyQueue queue_;
    QByteArray raw_;
    std::thread thread_;
};

} // namespace twk::qt
