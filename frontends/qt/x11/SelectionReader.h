#pragma once

#include "platform/Clipboard.h"
#include "x11/XConnection.h"

#include <QByteArray>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace twk::x11 {

// What the clipboard held when it was fetched.
struct ClipboardContent {
    platform::ClipboardMark mark = platform::ClipboardMark::none;
    QByteArray utf8; // its plain text, empty when it offers none (or is marked)
};

// Fetches the CLIPBOARD selection from its owner over a connection of its own, so the
// program's interface never waits on an owner. Each wait for the owner is bounded.
class SelectionReader {
public:
    // wakeFd: readable when the fetch should give up (capture turned off, or the end).
    // announcement: the kind of event that says the clipboard changed (XFixes' selection
    // notify), or 0.
    SelectionReader(XConnection& x, int wakeFd, std::chrono::milliseconds patience, std::uint8_t announcement = 0);

    // nullopt: the owner did not answer within the bound, the wait was woken, or the
    // clipboard changed meanwhile (the content being read is gone).
    std::optional<ClipboardContent> fetch();
    // The announcements of changes that came during fetches, oldest first.
    std::deque<Event> takeAnnouncements() { return std::exchange(announcements_, {}); }

private:
    enum class Outcome { ok, refused, failed };
    Outcome convert(xcb_window_t window, xcb_atom_t target, QByteArray& data, xcb_atom_t& type);
    Outcome waitFor(std::uint8_t kind, xcb_window_t window, Event& event);
    void retire(xcb_window_t window);
    void settleRetired(const xcb_selection_notify_event_t& notify);

    XConnection& x_;
    int wakeFd_;
    std::chrono::milliseconds patience_;
    std::uint8_t announcement_;
    std::deque<Event> announcements_;
    xcb_atom_t clipboard_;
    xcb_atom_t property_;
    // Windows of given-up fetches, kept until their owner has answered (oldest first).
    std::deque<xcb_window_t> retired_;
};

} // namespace twk::x11
