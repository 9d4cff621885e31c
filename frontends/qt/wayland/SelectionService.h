#pragma once

#include "platform/Clipboard.h"
#include "wayland/DataControl.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace twk::wayland {

// The clipboard's content as the core reads it.
struct FetchedContent {
    platform::ClipboardMark mark = platform::ClipboardMark::none;
    // The plain text as its owner gave it (UTF-8); empty when it offers none or is marked.
    std::shared_ptr<std::string> text;
};

// Follows the Wayland clipboard on a thread and a connection of its own: numbers each
// content the compositor announces, fetches one when asked (a newer content abandons
// the fetch under way; an owner silent for kOwnerPatience fails it), and sets our own
// content. The interface thread never waits on the compositor nor on an owner.
class SelectionService final : private DataControl::Listener {
public:
    static constexpr std::chrono::milliseconds kOwnerPatience{3000};
    // Called on the service's thread. `serial` numbers the content (from 1); `ours`
    // says it is the content we set last and still hold.
    using Changed = std::function<void(std::uint32_t serial, bool ours)>;
    // nullopt: the owner did not answer.
    using Arrived = std::function<void(std::uint32_t serial, std::optional<FetchedContent> content)>;

    static std::unique_ptr<SelectionService> start(std::unique_ptr<DataControl> control, Changed changed,
                                                   Arrived arrived);
    ~SelectionService() override;
    SelectionService(const SelectionService&) = delete;
    SelectionService& operator=(const SelectionService&) = delete;

    const char* protocolName() const { return control_->protocolName(); }
    // Fetch the content numbered `serial`, if it is still the clipboard's.
    void fetch(std::uint32_t serial);
    // Makes `utf8` the clipboard's content in one step, or empties the clipboard when it
    // is null; with `onlyOver`, only while the content so numbered is still there. A
    // later call before the first is carried out takes its place.
    void put(std::shared_ptr<const std::string> utf8, std::optional<std::uint32_t> onlyOver = std::nullopt);

private:
    struct Put {
        std::shared_ptr<const std::string> utf8;
        std::optional<std::uint32_t> onlyOver;
    };
    enum class Step { goOn, superseded, stop };

    SelectionService(std::unique_ptr<DataControl> control, int wakeRead, int wakeWrite, Changed changed,
                     Arrived arrived);
    void run();
    void wake();
    Step takeRequests();
    void carryOut(const Put& put);
    std::optional<FetchedContent> fetchNow(const std::shared_ptr<Offer>& offer, Step& step);
    std::optional<std::string> receive(const Offer& offer, const std::string& type, std::size_t limit, Step& step);

    void selection(std::shared_ptr<Offer> offer) override;
    void send(wl_proxy* source, const char* type, int fd) override;
    void cancelled(wl_proxy* source) override;

    std::unique_ptr<DataControl> control_;
    int wakeRead_;
    int wakeWrite_;
    Changed changed_;
    Arrived arrived_;

    // Shared with the interface thread.
    std::mutex mutex_;
    std::uint32_t wanted_ = 0; // the serial a fetch is asked for
    std::uint64_t fetchRequests_ = 0;
    std::optional<Put> put_;
    bool stopping_ = false;

    // The service's thread only.
    std::uint32_t serial_ = 0;
    std::shared_ptr<Offer> offer_;
    std::uint32_t wantedNow_ = 0;
    std::uint64_t requestsNow_ = 0;
    std::map<wl_proxy*, std::shared_ptr<const std::string>> sources_; // ours, until cancelled

    std::thread thread_;
};

} // namespace twk::wayland
