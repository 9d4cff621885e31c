// twk3-keeper: keeps the program's last clipboard text available after the program
// has ended, as X11 drops a selection with its owner. Reads the text (UTF-8) from its
// standard input, takes the CLIPBOARD, says "ready" on its standard output, offers the
// text to a clipboard manager if one runs, and serves it until another program takes
// the clipboard.

#include "x11/XConnection.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace twk::x11;

namespace {

std::string readAll(int fd)
{
    std::string all;
    char buffer[65536];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
        all.append(buffer, static_cast<std::size_t>(got));
    return all;
}

// Latin-1 for the old STRING target; what it cannot hold becomes '?'.
std::string toLatin1(const std::string& utf8)
{
    std::string latin1;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            latin1 += static_cast<char>(byte);
        } else if ((byte & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((byte & 0x1FU) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3FU);
            latin1 += code < 0x100 ? static_cast<char>(code) : '?';
        } else if ((byte & 0xC0) != 0x80) {
            latin1 += '?';
        }
    }
    return latin1;
}

// A text too big for one property goes in pieces, each when the requestor took the last.
struct Transfer {
    xcb_window_t requestor;
    xcb_atom_t property;
    xcb_atom_t type;
    const std::string* data;
    std::size_t sent;
};

class Keeper {
public:
    Keeper(XConnection& x, std::string text)
        : x_(x), utf8_(std::move(text)), clipboard_(x.atom("CLIPBOARD")), window_(x.makeWindow()),
          piece_(std::min<std::size_t>(x.maxPropertyBytes() / 2, 1 << 20))
    {
    }

    bool takeClipboard()
    {
        // A timestamp of our own: ownership at "current time" is frowned upon.
        const auto stamp = x_.atom("TWK_TIMESTAMP");
        xcb_change_property(x_.get(), XCB_PROP_MODE_APPEND, window_, stamp, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(x_.get());
        Event event(nullptr, &std::free);
        while (x_.next(event, std::chrono::seconds(5)) == XConnection::Wait::event) {
            if (kindOf(*event) == XCB_PROPERTY_NOTIFY) {
                time_ = reinterpret_cast<xcb_property_notify_event_t*>(event.get())->time;
                break;
            }
        }
        xcb_set_selection_owner(x_.get(), window_, clipboard_, time_);
        auto* owner = xcb_get_selection_owner_reply(x_.get(), xcb_get_selection_owner(x_.get(), clipboard_), nullptr);
        const bool ours = owner && owner->owner == window_;
        std::free(owner);
        return ours;
    }

    void offerToManager()
    {
        const auto manager = x_.atom("CLIPBOARD_MANAGER");
        auto* owner = xcb_get_selection_owner_reply(x_.get(), xcb_get_selection_owner(x_.get(), manager), nullptr);
        const bool running = owner && owner->owner != XCB_NONE;
        std::free(owner);
        if (running)
            xcb_convert_selection(x_.get(), window_, manager, x_.atom("SAVE_TARGETS"), x_.atom("TWK_SAVED"), time_);
        xcb_flush(x_.get());
    }

    void serve()
    {
        bool owned = true;
        Event event(nullptr, &std::free);
        while (owned || !transfers_.empty()) {
            // Once the clipboard is gone, a transfer under way gets a bounded time to finish.
            const std::chrono::milliseconds bound = owned ? std::chrono::hours(1) : std::chrono::seconds(10);
            const auto waited = x_.next(event, bound);
            if (waited == XConnection::Wait::lost || (waited == XConnection::Wait::timedOut && !owned))
                return;
            if (waited != XConnection::Wait::event)
                continue;
            switch (kindOf(*event)) {
            case XCB_SELECTION_CLEAR:
                owned = false;
                break;
            case XCB_SELECTION_REQUEST:
                answer(*reinterpret_cast<xcb_selection_request_event_t*>(event.get()));
                break;
            case XCB_PROPERTY_NOTIFY:
                goOn(*reinterpret_cast<xcb_property_notify_event_t*>(event.get()));
                break;
            default:
                break;
            }
            xcb_flush(x_.get());
        }
    }

private:
    void answer(const xcb_selection_request_event_t& request)
    {
        const xcb_atom_t property = request.property == XCB_NONE ? request.target : request.property;
        const xcb_atom_t utf8String = x_.atom("UTF8_STRING");
        const std::vector<xcb_atom_t> utf8Targets{utf8String, x_.atom("text/plain;charset=utf-8"),
                                                  x_.atom("text/plain")};
        const std::vector<xcb_atom_t> latin1Targets{XCB_ATOM_STRING, x_.atom("TEXT")};
        bool served = true;
        if (request.time != XCB_CURRENT_TIME && request.time < time_) {
            served = false;
        } else if (request.target == x_.atom("TARGETS")) {
            std::vector<xcb_atom_t> targets{x_.atom("TARGETS"), x_.atom("TIMESTAMP")};
            targets.insert(targets.end(), utf8Targets.begin(), utf8Targets.end());
            targets.insert(targets.end(), latin1Targets.begin(), latin1Targets.end());
            xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                                static_cast<std::uint32_t>(targets.size()), targets.data());
        } else if (request.target == x_.atom("TIMESTAMP")) {
            xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_INTEGER, 32, 1,
                                &time_);
        } else if (std::find(utf8Targets.begin(), utf8Targets.end(), request.target) != utf8Targets.end()) {
            send(request.requestor, property, request.target == utf8String ? utf8String : request.target, utf8_);
        } else if (std::find(latin1Targets.begin(), latin1Targets.end(), request.target) != latin1Targets.end()) {
            if (!latin1_)
                latin1_ = toLatin1(utf8_);
            send(request.requestor, property, XCB_ATOM_STRING, *latin1_);
        } else {
            served = false;
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = served ? property : static_cast<xcb_atom_t>(XCB_NONE);
        xcb_send_event(x_.get(), 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
    }

    void send(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, const std::string& data)
    {
        if (data.size() <= piece_) {
            xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, requestor, property, type, 8,
                                static_cast<std::uint32_t>(data.size()), data.data());
            return;
        }
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(x_.get(), requestor, XCB_CW_EVENT_MASK, &events);
        const auto size = static_cast<std::uint32_t>(data.size());
        xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, requestor, property, x_.atom("INCR"), 32, 1, &size);
        transfers_.push_back({requestor, property, type, &data, 0});
    }

    void goOn(const xcb_property_notify_event_t& notify)
    {
        if (notify.state != XCB_PROPERTY_DELETE)
            return;
        for (auto it = transfers_.begin(); it != transfers_.end(); ++it) {
            if (it->requestor != notify.window || it->property != notify.atom)
                continue;
            const auto length = std::min(piece_, it->data->size() - it->sent);
            xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, it->requestor, it->property, it->type, 8,
                                static_cast<std::uint32_t>(length), it->data->data() + it->sent);
            it->sent += length;
            if (length == 0) // the empty piece that ends it has gone
                transfers_.erase(it);
            return;
        }
    }

    XConnection& x_;
    std::string utf8_;
    std::optional<std::string> latin1_;
    xcb_atom_t clipboard_;
    xcb_window_t window_;
    std::size_t piece_;
    xcb_timestamp_t time_ = XCB_CURRENT_TIME;
    std::vector<Transfer> transfers_;
};

} // namespace

int main()
{
    // Connected before the text comes: a program that starts us early is then
    // kept waiting only for taking the clipboard.
    XConnection x;
    std::string text = readAll(STDIN_FILENO);
    if (!x.ok() || text.empty())
        return 1;
    Keeper keeper(x, std::move(text));
    if (!keeper.takeClipboard())
        return 1;
    [[maybe_unused]] const auto said = write(STDOUT_FILENO, "ready\n", 6);
    close(STDIN_FILENO);
    close(STDOUT_FILENO);
    keeper.offerToManager();
    keeper.serve();
    return 0;
}
