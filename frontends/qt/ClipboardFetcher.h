#pragma once

#include "platform/Clipboard.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace twk::x11 {
class XConnection;
}

namespace twk::qt {

// The clipboard's content as the core reads it.
struct FetchedClipboard {
    platform::ClipboardMark mark = platform::ClipboardMark::none;
    // CR LF line breaks. Shared so that it travels to the interface thread uncopied, which
    // takes it over from there (then it is null).
    std::shared_ptr<std::string> text;
    // The text as the owner gave it: put back unchanged, it goes back as these bytes.
    QByteArray raw;
};

// Fetches the X11 clipboard on a thread and a connection of its own, one request at a
// time: a newer request abandons the one under way, and an owner that stays silent for
// kOwnerPatience fails the fetch. The interface thread never waits on an owner.
class ClipboardFetcher {
public:
    static constexpr std::chrono::milliseconds kOwnerPatience{3000};
    // Runs on the fetching thread; nullopt when the owner did not answer.
    using Done = std::function<void(std::uint32_t sequence, std::optional<FetchedClipboard> content)>;

    // nullptr where there is no X11 display to fetch from.
    static std::unique_ptr<ClipboardFetcher> start(Done done);
    ~ClipboardFetcher();
    ClipboardFetcher(const ClipboardFetcher&) = delete;
    ClipboardFetcher& operator=(const ClipboardFetcher&) = delete;

    // Fetch what the clipboard holds now, known to the caller as `sequence`.
    void request(std::uint32_t sequence);

private:
    ClipboardFetcher(std::unique_ptr<x11::XConnection> x, int wakeRead, int wakeWrite, Done done);
    void run();

    std::unique_ptr<x11::XConnection> x_;
    int wakeRead_;
    int wakeWrite_;
    Done done_;
    std::mutex mutex_;
    std::uint64_t requestId_ = 0;
    std::uint32_t requestedSequence_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace twk::qt
