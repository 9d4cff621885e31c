#include "wayland/SelectionService.h"

#include "ClipboardMarks.h"
#include "wayland/Transfers.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <limits>

namespace twk::wayland {
namespace {

// Offered beside the text by our own sources, so that our content is told from
// another program's by what it offers, whatever order the compositor's events come in.
constexpr const char* kOwnType = "application/x-twk3-own";
// A password manager's hint or a list of files is small; more is not waited for.
constexpr std::size_t kMarkLimit = 1 << 20;

using Clock = std::chrono::steady_clock;

} // namespace

std::unique_ptr<SelectionService> SelectionService::start(std::unique_ptr<DataControl> control, Changed changed,
                                                          Arrived arrived)
{
    int wake[2];
    if (!control || pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    return std::unique_ptr<SelectionService>(
        new SelectionService(std::move(control), wake[0], wake[1], std::move(changed), std::move(arrived)));
}

SelectionService::SelectionService(std::unique_ptr<DataControl> control, int wakeRead, int wakeWrite, Changed changed,
                                   Arrived arrived)
    : control_(std::move(control)), wakeRead_(wakeRead), wakeWrite_(wakeWrite), changed_(std::move(changed)),
      arrived_(std::move(arrived))
{
    control_->listen(*this);
    thread_ = std::thread([this] { run(); });
}

SelectionService::~SelectionService()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake();
    thread_.join();
    offer_.reset();
    for (const auto& [source, text] : sources_)
        control_->destroySource(source);
    control_.reset();
    close(wakeRead_);
    close(wakeWrite_);
}

void SelectionService::wake()
{
    [[maybe_unused]] const auto woken = write(wakeWrite_, "w", 1);
}

void SelectionService::fetch(std::uint32_t serial)
{
    {
        std::lock_guard lock(mutex_);
        wanted_ = serial;
        ++fetchRequests_;
    }
    wake();
}

void SelectionService::put(std::shared_ptr<const std::string> utf8, std::optional<std::uint32_t> onlyOver)
{
    {
        std::lock_guard lock(mutex_);
        put_ = Put{std::move(utf8), onlyOver};
    }
    wake();
}

SelectionService::Step SelectionService::takeRequests()
{
    char drained[64];
    while (read(wakeRead_, drained, sizeof drained) > 0) {
    }
    std::optional<Put> put;
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return Step::stop;
        put.swap(put_);
        wantedNow_ = wanted_;
        requestsNow_ = fetchRequests_;
    }
    if (put)
        carryOut(*put);
    return Step::goOn;
}

void SelectionService::carryOut(const Put& put)
{
    // The tick that read a content puts its text back only over that content.
    if (put.onlyOver && *put.onlyOver != serial_)
        return;
    if (!put.utf8) {
        control_->setSelection(nullptr);
        return;
    }
    auto types = TextTypes();
    types.emplace_back(kOwnType);
    auto* source = control_->makeSource(types);
    sources_.emplace(source, put.utf8);
    // One step: the compositor replaces the content, the clipboard is never empty between.
    control_->setSelection(source);
}

void SelectionService::run()
{
    std::uint64_t served = 0;
    for (;;) {
        if (takeRequests() == Step::stop)
            return;
        if (requestsNow_ != served && wantedNow_ == serial_ && serial_ != 0) {
            served = requestsNow_;
            const auto serial = serial_;
            if (!offer_) {
                arrived_(serial, FetchedContent{platform::ClipboardMark::none, std::make_shared<std::string>()});
                continue;
            }
            auto step = Step::goOn;
            auto content = fetchNow(offer_, step);
            if (step == Step::stop)
                return;
            if (step == Step::goOn)
                arrived_(serial, std::move(content));
            continue;
        }
        pollfd wake{wakeRead_, POLLIN, 0};
        if (!control_->wait({&wake, 1}, -1)) {
            // The compositor is gone: nothing more to follow; wait for the end.
            pollfd end{wakeRead_, POLLIN, 0};
            while (takeRequests() != Step::stop)
                poll(&end, 1, -1);
            return;
        }
    }
}

std::optional<FetchedContent> SelectionService::fetchNow(const std::shared_ptr<Offer>& offer, Step& step)
{
    bool unanswered = false;
    const auto mark = qt::markOf(offer->types, [&](const std::string& type) -> std::optional<std::string> {
        if (unanswered || step != Step::goOn)
            return std::nullopt;
        auto data = receive(*offer, type, kMarkLimit, step);
        unanswered = !data;
        return data;
    });
    // Whatever could not be asked is not taken for granted: no text without its mark.
    if (step != Step::goOn || unanswered)
        return std::nullopt;
    FetchedContent content{mark, std::make_shared<std::string>()};
    if (mark != platform::ClipboardMark::none)
        return content;
    const auto type = TextTypeOf(offer->types);
    if (!type)
        return content;
    auto text = receive(*offer, *type, std::numeric_limits<std::size_t>::max(), step);
    if (!text)
        return std::nullopt;
    *content.text = std::move(*text);
    return content;
}

std::optional<std::string> SelectionService::receive(const Offer& offer, const std::string& type, std::size_t limit,
                                                     Step& step)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return std::nullopt;
    control_->receive(offer, type.c_str(), ends[1]);
    close(ends[1]); // sent with the request: the owner holds its own copy
    Incoming incoming(ends[0]);
    const auto serial = serial_;
    auto heard = Clock::now();
    for (;;) {
        const auto silence = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - heard);
        if (silence >= kOwnerPatience)
            return std::nullopt;
        std::array<pollfd, 2> fds{{{incoming.fd(), POLLIN, 0}, {wakeRead_, POLLIN, 0}}};
        if (!control_->wait(fds, static_cast<int>((kOwnerPatience - silence).count()))) {
            step = Step::stop;
            return std::nullopt;
        }
        if (fds[1].revents && takeRequests() == Step::stop) {
            step = Step::stop;
            return std::nullopt;
        }
        if (serial_ != serial) {
            step = Step::superseded;
            return std::nullopt;
        }
        if (!fds[0].revents)
            continue;
        switch (incoming.readAvailable(limit)) {
        case Incoming::State::done:
            return std::move(incoming.data());
        case Incoming::State::failed:
            return std::nullopt;
        case Incoming::State::more:
            if (incoming.moved())
                heard = Clock::now();
            break;
        }
    }
}

void SelectionService::selection(std::shared_ptr<Offer> offer)
{
    // An offer of no format at all holds nothing to paste: sway and KWin set one for a
    // moment after some copies as they pass the clipboard to XWayland. It is no copy,
    // and what the last content's tick puts back may replace it.
    if (offer && offer->types.empty())
        return;
    // The previous content's offer is dropped here, as the compositor expects.
    offer_ = std::move(offer);
    if (++serial_ == 0)
        serial_ = 1;
    const bool ours = offer_ && std::find(offer_->types.begin(), offer_->types.end(), kOwnType) != offer_->types.end();
    changed_(serial_, ours);
}

void SelectionService::send(wl_proxy* source, const char* type, int fd)
{
    const auto found = sources_.find(source);
    if (found == sources_.end() || std::string_view(type) == kOwnType) {
        close(fd);
        return;
    }
    SendInBackground(fd, found->second, kOwnerPatience);
}

void SelectionService::cancelled(wl_proxy* source)
{
    sources_.erase(source);
    control_->destroySource(source);
}

} // namespace twk::wayland
