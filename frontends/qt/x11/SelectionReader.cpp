#include "x11/SelectionReader.h"

#include "platform/Trace.h"

#include "ClipboardMarks.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace twk::x11 {
namespace {

struct Property {
    xcb_atom_t type = XCB_NONE;
    QByteArray data;
    bool ok = false;
};

Property takeProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    Property taken;
    const auto cookie = xcb_get_property(connection, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4);
    if (auto* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        taken.type = reply->type;
        taken.data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                                xcb_get_property_value_length(reply) * (reply->format / 8));
        taken.ok = true;
        std::free(reply);
    }
    return taken;
}

// Given-up windows kept at most; an owner silent through this many later fetches is
// taken for gone.
constexpr std::size_t kRetiredWindowsKept = 16;

// A text that comes in pieces says beforehand at least how long it is; room for that much is
// made at once, up to this, so that it is not copied again and again as it grows.
constexpr qsizetype kMostRoomMadeAhead = qsizetype(256) << 20;

} // namespace

SelectionReader::SelectionReader(XConnection& x, int wakeFd, std::chrono::milliseconds patience,
                                 std::uint8_t announcement)
    : x_(x), wakeFd_(wakeFd), patience_(patience), announcement_(announcement), clipboard_(x.atom("CLIPBOARD")),
      property_(x.atom("TWK_CLIPBOARD"))
{
}

SelectionReader::Outcome SelectionReader::waitFor(std::uint8_t kind, xcb_window_t window, Event& event)
{
    for (;;) {
        const auto waited = x_.next(event, patience_, wakeFd_);
        if (waited == XConnection::Wait::timedOut)
            platform::trace("clipboard: its owner did not answer within " + std::to_string(patience_.count()) +
                            " ms: given up, asked again at the next tick");
        else if (waited == XConnection::Wait::lost)
            platform::trace("clipboard: the connection to the X server was lost");
        if (waited != XConnection::Wait::event)
            return Outcome::failed;
        // A newer copy: what this fetch reads may already be the newer owner's answer.
        if (announcement_ != 0 && kindOf(*event) == announcement_) {
            announcements_.push_back(std::move(event));
            event = Event(nullptr, &std::free);
            return Outcome::failed;
        }
        if (kindOf(*event) == XCB_SELECTION_NOTIFY)
            settleRetired(*reinterpret_cast<xcb_selection_notify_event_t*>(event.get()));
        if (kindOf(*event) != kind)
            continue;
        if (kind == XCB_SELECTION_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event.get());
            if (notify->requestor == window && notify->selection == clipboard_)
                return Outcome::ok;
        } else if (kind == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
            if (notify->window == window && notify->atom == property_ && notify->state == XCB_PROPERTY_NEW_VALUE)
                return Outcome::ok;
        }
    }
}

// An owner may still answer a fetch we gave up on (woken by a newer change, or out of
// patience). Writing to a window that is gone gets it an X error, and owners on Xlib's
// default handler (xclip among them) end on it and take the clipboard with them. So the
// window stays until that answer comes.
void SelectionReader::retire(xcb_window_t window)
{
    retired_.push_back(window);
    if (retired_.size() > kRetiredWindowsKept) {
        xcb_destroy_window(x_.get(), retired_.front());
        retired_.pop_front();
    }
    xcb_flush(x_.get());
}

void SelectionReader::settleRetired(const xcb_selection_notify_event_t& notify)
{
    const auto found = std::find(retired_.begin(), retired_.end(), notify.requestor);
    if (found == retired_.end())
        return;
    // A text coming in pieces waits on this window for each piece to be taken: leave it.
    if (notify.property != XCB_NONE) {
        const auto cookie =
            xcb_get_property(x_.get(), 0, notify.requestor, notify.property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
        auto* reply = xcb_get_property_reply(x_.get(), cookie, nullptr);
        const bool inPieces = reply && reply->type == x_.atom("INCR");
        std::free(reply);
        if (inPieces)
            return;
    }
    xcb_destroy_window(x_.get(), notify.requestor);
    xcb_flush(x_.get());
    retired_.erase(found);
}

SelectionReader::Outcome SelectionReader::convert(xcb_window_t window, xcb_atom_t target, QByteArray& data,
                                                  xcb_atom_t& type)
{
    xcb_convert_selection(x_.get(), window, clipboard_, target, property_, XCB_CURRENT_TIME);
    xcb_flush(x_.get());
    Event event(nullptr, &std::free);
    if (waitFor(XCB_SELECTION_NOTIFY, window, event) != Outcome::ok)
        return Outcome::failed;
    if (reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE)
        return Outcome::refused;
    auto property = takeProperty(x_.get(), window, property_);
    if (!property.ok)
        return Outcome::failed;
    if (property.type == x_.atom("INCR")) {
        type = XCB_NONE;
        data.clear();
        if (property.data.size() == 4)
            data.reserve(std::min<qsizetype>(*reinterpret_cast<const std::uint32_t*>(property.data.constData()),
                                             kMostRoomMadeAhead));
        // The owner sends the text in pieces, each after we took the one before.
        for (;;) {
            if (waitFor(XCB_PROPERTY_NOTIFY, window, event) != Outcome::ok)
                return Outcome::failed;
            auto piece = takeProperty(x_.get(), window, property_);
            if (!piece.ok)
                return Outcome::failed;
            if (piece.data.isEmpty())
                return Outcome::ok;
            type = piece.type;
            data += piece.data;
        }
    }
    type = property.type;
    data = std::move(property.data);
    return Outcome::ok;
}

std::optional<ClipboardContent> SelectionReader::fetch()
{
    ClipboardContent content;
    auto* connection = x_.get();
    const auto ownerCookie = xcb_get_selection_owner(connection, clipboard_);
    auto* owner = xcb_get_selection_owner_reply(connection, ownerCookie, nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    if (!owned)
        return content;

    struct Window {
        SelectionReader& reader;
        xcb_window_t id;
        bool answered = false;
        ~Window()
        {
            if (answered)
                xcb_destroy_window(reader.x_.get(), id);
            else
                reader.retire(id);
        }
    } window{*this, x_.makeWindow()};

    QByteArray data;
    xcb_atom_t type = XCB_NONE;
    const auto offered = convert(window.id, x_.atom("TARGETS"), data, type);
    if (offered == Outcome::failed)
        return std::nullopt;
    std::vector<std::string> targets;
    for (qsizetype at = 0; offered == Outcome::ok && at + 4 <= data.size(); at += 4)
        targets.push_back(x_.atomName(*reinterpret_cast<const xcb_atom_t*>(data.constData() + at)));

    bool failed = false;
    const auto readSmall = [&](const std::string& target) -> std::optional<std::string> {
        QByteArray small;
        xcb_atom_t smallType = XCB_NONE;
        const auto outcome = convert(window.id, x_.atom(target), small, smallType);
        failed = failed || outcome == Outcome::failed;
        if (outcome != Outcome::ok)
            return std::nullopt;
        return small.toStdString();
    };
    content.mark = qt::markOf(targets, readSmall);
    if (failed)
        return std::nullopt;
    if (content.mark != platform::ClipboardMark::none) {
        window.answered = true;
        return content;
    }

    // The plain text, in the first form the owner offers; rich forms are not asked for.
    const auto offers = [&](const char* target) {
        return targets.empty() || std::find(targets.begin(), targets.end(), target) != targets.end();
    };
    for (const char* target : {"UTF8_STRING", "text/plain;charset=utf-8", "STRING", "text/plain"}) {
        if (!offers(target))
            continue;
        const auto outcome = convert(window.id, x_.atom(target), data, type);
        if (outcome == Outcome::failed)
            return std::nullopt;
        if (outcome == Outcome::refused)
            continue;
        content.utf8 = type == x_.atom("STRING") ? QString::fromLatin1(data).toUtf8() : std::move(data);
        break;
    }
    window.answered = true;
    return content;
}

} // namespace twk::x11
