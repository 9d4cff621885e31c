#pragma once

#include <poll.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct wl_display;
struct wl_interface;
struct wl_proxy;
struct wl_registry;

namespace twk::wayland {

// What another program offers on the clipboard: its formats (MIME types), and the
// object to ask it for one of them. Dropping it lets the compositor know.
class Offer {
public:
    explicit Offer(wl_proxy* proxy) : proxy_(proxy) {}
    ~Offer();
    Offer(const Offer&) = delete;
    Offer& operator=(const Offer&) = delete;

    wl_proxy* proxy() const { return proxy_; }
    std::vector<std::string> types;

private:
    wl_proxy* proxy_;
};

// A connection of its own to the compositor, holding the seat's data-control device:
// the clipboard of every application, read and set without the keyboard focus.
// ext-data-control-v1 and the older zwlr-data-control-unstable-v1 carry the same
// messages under two names, so one client speaks either. Used from one thread.
class DataControl {
public:
    // Told of what the compositor says, while dispatching.
    class Listener {
    public:
        virtual ~Listener() = default;
        // The clipboard changed: `offer` is its content, null when it is empty.
        virtual void selection(std::shared_ptr<Offer> offer) = 0;
        // A program asks for our source's data as `type`; the fd is ours to write and close.
        virtual void send(wl_proxy* source, const char* type, int fd) = 0;
        // Another content took the place of our source's.
        virtual void cancelled(wl_proxy* source) = 0;
    };

    // nullptr without a Wayland display, or where the compositor offers neither protocol.
    static std::unique_ptr<DataControl> connect();
    ~DataControl();
    DataControl(const DataControl&) = delete;
    DataControl& operator=(const DataControl&) = delete;

    // The manager's interface name, to say which route the clipboard takes.
    const char* protocolName() const;
    // Binds the device; the clipboard's present content comes with the next dispatch.
    void listen(Listener& listener);

    // A source of ours offering `types`; the selection when set with setSelection.
    wl_proxy* makeSource(const std::vector<std::string>& types);
    void destroySource(wl_proxy* source);
    // Replaces the clipboard's content in one step; null empties it.
    void setSelection(wl_proxy* source);
    // Asks the offer's owner to write `type` into `fd` (which the caller may close after).
    void receive(const Offer& offer, const char* type, int fd);

    // Sends what is queued, waits up to timeoutMs (-1: for ever) for the compositor or
    // for one of `others`, and dispatches what came. False once the connection is lost.
    bool wait(std::span<pollfd> others, int timeoutMs);
    // Sends what is queued and waits until the compositor has handled it.
    bool roundTrip();

    // The interfaces of one of the two protocols.
    struct Protocol;

private:
    DataControl(wl_display* display, wl_registry* registry, wl_proxy* seat, wl_proxy* manager,
                const Protocol& protocol);
    static void dataOffer(void* data, wl_proxy* device, wl_proxy* offer);
    static void selectionEvent(void* data, wl_proxy* device, wl_proxy* offer);
    static void finished(void* data, wl_proxy* device);
    static void primarySelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void offered(void* data, wl_proxy* offer, const char* type);
    static void sendEvent(void* data, wl_proxy* source, const char* type, std::int32_t fd);
    static void cancelledEvent(void* data, wl_proxy* source);

    wl_display* display_;
    wl_registry* registry_;
    wl_proxy* seat_;
    wl_proxy* manager_;
    const Protocol& protocol_;
    wl_proxy* device_ = nullptr;
    Listener* listener_ = nullptr;
    bool lost_ = false;
};

} // namespace twk::wayland
