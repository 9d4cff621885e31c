#pragma once

#include "platform/Clipboard.h"
#include "x11/XConnection.h"

#include <QByteArray>

#include <chrono>
#include <deque>
#include <optional>
#include <string>

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
    // wakeFd: readable when the fetch should give up (a newer change, or the end).
    SelectionReader(XConnection& x, int wakeFd, std::chrono::milliseconds patience);

    // nullopt: the owner did not answer within the bound, or the wait was woken.
    std::optional<ClipboardContent> fetch();

private:
    enum class Outcome { ok, refused, failed };
    Outcome convert(xcb_window_t window, xcb_atom_t target, QByteArray& data, xcb_atom_t& type);
    Outcome waitFor(std::uint8_t kind, xcb_window_t window, Event& event);
    void retire(xcb_window_t window);
    void settleRetired(const xcb_selection_notify_event_t& notify);

    XConnection& x_;
    int wakeFd_;
    std::chrono::milliseconds patience_;
    xcb_atom_t clipboard_;
    xcb_atom_t property_;
    // Windows of given-up fetches, kept until their owner has answered (oldest first).
    std::deque<xcb_window_t> retired_;
};

} // namespace twk::x11
