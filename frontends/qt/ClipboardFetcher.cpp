#include "ClipboardFetcher.h"

#include "Texts.h"
#include "x11/SelectionReader.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace twk::qt {

std::unique_ptr<ClipboardFetcher> ClipboardFetcher::start(Done done)
{
    auto x = std::make_unique<x11::XConnection>();
    int wake[2];
    if (!x->ok() || pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    return std::unique_ptr<ClipboardFetcher>(new ClipboardFetcher(std::move(x), wake[0], wake[1], std::move(done)));
}

ClipboardFetcher::ClipboardFetcher(std::unique_ptr<x11::XConnection> x, int wakeRead, int wakeWrite, Done done)
    : x_(std::move(x)), wakeRead_(wakeRead), wakeWrite_(wakeWrite), done_(std::move(done)), thread_([this] { run(); })
{
}

ClipboardFetcher::~ClipboardFetcher()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    [[maybe_unused]] const auto woken = write(wakeWrite_, "s", 1);
    thread_.join();
    close(wakeRead_);
    close(wakeWrite_);
}

void ClipboardFetcher::request(std::uint32_t sequence)
{
    {
        std::lock_guard lock(mutex_);
        ++requestId_;
        requestedSequence_ = sequence;
    }
    [[maybe_unused]] const auto woken = write(wakeWrite_, "r", 1);
}

void ClipboardFetcher::run()
{
    x11::SelectionReader reader(*x_, wakeRead_, kOwnerPatience);
    std::uint64_t served = 0;
    for (;;) {
        pollfd wake{wakeRead_, POLLIN, 0};
        poll(&wake, 1, -1);
        char drained[64];
        while (read(wakeRead_, drained, sizeof drained) > 0) {
        }
        std::uint64_t id = 0;
        std::uint32_t sequence = 0;
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            id = requestId_;
            sequence = requestedSequence_;
        }
        if (id == served)
            continue;
        auto content = reader.fetch();
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            if (requestId_ != id)
                continue; // a newer change woke the fetch: serve that one
        }
        served = id;
        if (!content) {
            done_(sequence, std::nullopt);
            continue;
        }
        // Qt 6 keeps the 8-bit encoding of Unix desktops as UTF-8: the bytes go as they came.
        const auto mark = content->mark;
        const QByteArray raw = std::move(content->utf8);
        auto text = std::make_shared<std::string>(withCrLf({raw.constData(), static_cast<std::size_t>(raw.size())}));
        done_(sequence, FetchedClipboard{mark, std::move(text), std::move(raw)});
    }
}

} // namespace twk::qt
