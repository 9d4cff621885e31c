#include "ClipboardFetcher.h"

#include "Texts.h"
#include "x11/SelectionReader.h"

#include <xcb/xfixes.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <ctime>

namespace twk::qt {
namespace {

platform::ClipboardToken tokenOf(xcb_window_t owner, xcb_timestamp_t time)
{
    return (platform::ClipboardToken(owner) << 32) | time;
}

xcb_window_t ownerOf(platform::ClipboardToken token)
{
    return static_cast<xcb_window_t>(token >> 32);
}

platform::LocalDateTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

} // namespace

std::unique_ptr<ClipboardFetcher> ClipboardFetcher::start(Changed changed)
{
    auto x = std::make_unique<x11::XConnection>();
    auto checks = std::make_unique<x11::XConnection>();
    if (!x->ok() || !checks->ok())
        return nullptr;
    auto* connection = x->get();
    const auto* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return nullptr;
    // XFixes answers nothing before a client has said which version it speaks.
    std::free(xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 5, 0), nullptr));
    xcb_xfixes_select_selection_input(connection, x->root(), x->atom("CLIPBOARD"),
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection);
    // The checks hear of the changes too: what came before a reply is known with it.
    xcb_xfixes_select_selection_input(checks->get(), checks->root(), checks->atom("CLIPBOARD"),
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    std::free(xcb_xfixes_query_version_reply(checks->get(), xcb_xfixes_query_version(checks->get(), 5, 0), nullptr));
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    const auto announcement = static_cast<std::uint8_t>(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    return std::unique_ptr<ClipboardFetcher>(
        new ClipboardFetcher(std::move(x), std::move(checks), announcement, wake[0], wake[1], std::move(changed)));
}

ClipboardFetcher::ClipboardFetcher(std::unique_ptr<x11::XConnection> x, std::unique_ptr<x11::XConnection> checks,
                                   std::uint8_t announcement, int wakeRead, int wakeWrite, Changed changed)
    : x_(std::move(x)), checks_(std::move(checks)), announcement_(announcement), clipboard_(x_->atom("CLIPBOARD")),
      checkedClipboard_(checks_->atom("CLIPBOARD")), wakeRead_(wakeRead), wakeWrite_(wakeWrite),
      changed_(std::move(changed)), thread_([this] { run(); })
{
}

ClipboardFetcher::~ClipboardFetcher()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake();
    thread_.join();
    close(wakeRead_);
    close(wakeWrite_);
}

void ClipboardFetcher::wake()
{
    [[maybe_unused]] const auto woken = write(wakeWrite_, "w", 1);
}

xcb_window_t ClipboardFetcher::ownerNow(x11::XConnection& x)
{
    auto* connection = x.get();
    xcb_window_t owner = XCB_NONE;
    const auto atom = &x == checks_.get() ? checkedClipboard_ : clipboard_;
    if (auto* reply = xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom), nullptr)) {
        owner = reply->owner;
        std::free(reply);
    }
    return owner;
}

void ClipboardFetcher::setCapturing(bool on)
{
    {
        std::lock_guard lock(mutex_);
        const bool first = on && !told_;
        told_ = true;
        if (on == capturing_ && !first)
            return;
        capturing_ = on;
        if (!on) {
            ++generation_;
            toRead_.reset();
            wantPresent_ = false;
            queue_.clear();
            raw_ = QByteArray();
        } else if (!first) {
            return; // only changes from now on are read
        }
        wantPresent_ = first;
    }
    wake(); // gives up a read under way, or starts the read of what is there at start
}

void ClipboardFetcher::readPresent()
{
    {
        std::lock_guard lock(mutex_);
        if (!capturing_)
            return;
        wantPresent_ = true;
        if (readingNow_)
            return; // looked at when that read ends
    }
    wake();
}

std::vector<platform::ClipboardCopy> ClipboardFetcher::take(QByteArray& raw)
{
    settleChecks(); // read at every tick, so that they never pile up
    std::lock_guard lock(mutex_);
    raw = std::exchange(raw_, QByteArray());
    return queue_.take();
}

bool ClipboardFetcher::reading() const
{
    std::lock_guard lock(mutex_);
    return capturing_ && (readingNow_ || toRead_ || wantPresent_);
}

platform::ClipboardToken ClipboardFetcher::present() const
{
    std::lock_guard lock(mutex_);
    return present_;
}

void ClipboardFetcher::settleChecks()
{
    while (auto* event = xcb_poll_for_event(checks_->get())) {
        if (x11::kindOf(*event) == announcement_) {
            const auto& notify = *reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
            const bool taken =
                notify.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && notify.owner != XCB_NONE;
            checkedPresent_ = tokenOf(taken ? notify.owner : XCB_NONE, notify.selection_timestamp);
        }
        std::free(event);
    }
}

bool ClipboardFetcher::stillHolds(platform::ClipboardToken token)
{
    {
        std::lock_guard lock(mutex_);
        if (present_ != token)
            return false;
    }
    // A change the fetching thread has not heard of yet: every change made before the
    // owner's reply has come to the checks' connection ahead of it (the same owner taking
    // the clipboard again included).
    const auto owner = ownerNow(*checks_);
    settleChecks();
    if (checkedPresent_ && *checkedPresent_ != token && (token & 0xFFFFFFFF) != 0)
        return false;
    return owner == ownerOf(token);
}

void ClipboardFetcher::ownWriteBegins()
{
    std::lock_guard lock(mutex_);
    ownWritePending_ = true;
}

void ClipboardFetcher::ownWriteEnded()
{
    const auto owner = ownerNow(*checks_);
    bool toWake = false;
    {
        std::lock_guard lock(mutex_);
        // The toolkit owns the clipboard through one window for the whole run.
        if (ownWindow_ == XCB_NONE)
            ownWindow_ = owner;
        ownWritePending_ = false;
        for (const auto& change : heldBack_) {
            const auto changedTo = ownerOf(change.token);
            if (changedTo == XCB_NONE || changedTo == ownWindow_ || !capturing_)
                toRead_.reset();
            else
                toRead_ = change;
        }
        heldBack_.clear();
        toWake = toRead_.has_value() && !readingNow_;
    }
    if (toWake)
        wake();
}

void ClipboardFetcher::heard(const xcb_generic_event_t& event)
{
    if (x11::kindOf(event) != announcement_)
        return;
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection != clipboard_)
        return;
    const bool taken = notify.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && notify.owner != XCB_NONE;
    const Change change{tokenOf(taken ? notify.owner : XCB_NONE, notify.selection_timestamp), localNow()};
    std::lock_guard lock(mutex_);
    present_ = change.token;
    if (ownWritePending_) {
        heldBack_.push_back(change);
        return;
    }
    // Whatever was waiting to be read is gone from the clipboard now.
    if (!taken || notify.owner == ownWindow_ || !capturing_)
        toRead_.reset();
    else
        toRead_ = change;
}

void ClipboardFetcher::run()
{
    x11::SelectionReader reader(*x_, wakeRead_, kOwnerPatience, announcement_);
    auto* connection = x_->get();
    for (;;) {
        char drained[64];
        while (read(wakeRead_, drained, sizeof drained) > 0) {
        }
        for (const auto& event : reader.takeAnnouncements())
            heard(*event);
        while (auto* event = xcb_poll_for_event(connection)) {
            heard(*event);
            std::free(event);
        }
        std::optional<Change> job;
        bool present = false;
        std::uint64_t generation = 0;
        {
            std::lock_guard lock(mutex_);
            if (stopping_ || xcb_connection_has_error(connection))
                return;
            if (capturing_ && !ownWritePending_) {
                job = std::exchange(toRead_, std::nullopt);
                present = !job && wantPresent_;
                wantPresent_ = false; // the newest content is read either way
            }
            readingNow_ = job || present;
            generation = generation_;
        }
        if (present) {
            // What the clipboard holds at start, or again: its owner now, its time not known.
            const auto owner = ownerNow(*x_);
            std::lock_guard lock(mutex_);
            if (ownerOf(present_) != owner)
                present_ = tokenOf(owner, 0); // not heard of yet: the start
            if (owner == XCB_NONE || owner == ownWindow_)
                readingNow_ = false;
            else
                job = Change{present_, localNow()};
        }
        if (!job) {
            if (present)
                changed_();
            pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
            poll(fds, 2, -1);
            continue;
        }
        auto content = reader.fetch();
        {
            std::lock_guard lock(mutex_);
            readingNow_ = false;
            // Gone meanwhile, or no longer wanted: nothing of it is kept.
            if (content && generation == generation_ && capturing_ && present_ == job->token) {
                platform::ClipboardCopy copy;
                copy.mark = content->mark;
                copy.token = job->token;
                copy.copiedAt = job->at;
                const QByteArray& bytes = content->utf8;
                // Qt 6 keeps the 8-bit encoding of Unix desktops as UTF-8: the bytes go as they came.
                copy.text = withCrLf({bytes.constData(), static_cast<std::size_t>(bytes.size())});
                raw_ = std::move(content->utf8);
                queue_.push(std::move(copy));
            }
        }
        changed_();
    }
}

} // namespace twk::qt
