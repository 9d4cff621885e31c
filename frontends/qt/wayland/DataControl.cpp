#include "wayland/DataControl.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace twk::wayland {

// The two protocols' interfaces. Their messages are numbered alike in both.
struct DataControl::Protocol {
    const wl_interface* manager;
    const wl_interface* device;
    const wl_interface* source;
    const wl_interface* offer;
    std::uint32_t version; // the highest we speak
};

namespace {

constexpr DataControl::Protocol kExtProtocol{
    &ext_data_control_manager_v1_interface, &ext_data_control_device_v1_interface,
    &ext_data_control_source_v1_interface, &ext_data_control_offer_v1_interface, 1};
constexpr DataControl::Protocol kWlrProtocol{
    &zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface,
    &zwlr_data_control_source_v1_interface, &zwlr_data_control_offer_v1_interface, 2};

enum ManagerRequest : std::uint32_t { createDataSource = 0, getDataDevice = 1, managerDestroy = 2 };
enum DeviceRequest : std::uint32_t { setSelection = 0, deviceDestroy = 1 };
enum SourceRequest : std::uint32_t { offerType = 0, sourceDestroy = 1 };
enum OfferRequest : std::uint32_t { receiveType = 0, offerDestroy = 1 };

// Listeners laid out as the events are numbered.
struct DeviceListener {
    void (*dataOffer)(void*, wl_proxy*, wl_proxy*);
    void (*selection)(void*, wl_proxy*, wl_proxy*);
    void (*finished)(void*, wl_proxy*);
    void (*primarySelection)(void*, wl_proxy*, wl_proxy*);
};
struct OfferListener {
    void (*offer)(void*, wl_proxy*, const char*);
};
struct SourceListener {
    void (*send)(void*, wl_proxy*, const char*, std::int32_t);
    void (*cancelled)(void*, wl_proxy*);
};

struct Globals {
    std::uint32_t ext = 0, extVersion = 0;
    std::uint32_t wlr = 0, wlrVersion = 0;
    std::uint32_t seat = 0, seatVersion = 0;
};

void global(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version)
{
    auto& found = *static_cast<Globals*>(data);
    if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
        found.ext = name;
        found.extVersion = version;
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        found.wlr = name;
        found.wlrVersion = version;
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && found.seat == 0) {
        found.seat = name;
        found.seatVersion = version;
    }
}

void globalRemoved(void*, wl_registry*, std::uint32_t)
{
}

const wl_registry_listener kRegistryListener{global, globalRemoved};

wl_proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface, std::uint32_t version)
{
    return static_cast<wl_proxy*>(wl_registry_bind(registry, name, interface, version));
}

} // namespace

Offer::~Offer()
{
    wl_proxy_marshal_flags(proxy_, offerDestroy, nullptr, wl_proxy_get_version(proxy_), WL_MARSHAL_FLAG_DESTROY);
}

std::unique_ptr<DataControl> DataControl::connect()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        return nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    wl_registry* registry = wl_display_get_registry(display);
    Globals found;
    wl_registry_add_listener(registry, &kRegistryListener, &found);
    if (wl_display_roundtrip(display) < 0 || found.seat == 0 || (found.ext == 0 && found.wlr == 0)) {
        wl_registry_destroy(registry);
        wl_display_disconnect(display);
        return nullptr;
    }
    const bool ext = found.ext != 0;
    const Protocol& protocol = ext ? kExtProtocol : kWlrProtocol;
    auto* manager = bind(registry, ext ? found.ext : found.wlr, protocol.manager,
                         std::min(ext ? found.extVersion : found.wlrVersion, protocol.version));
    auto* seat = bind(registry, found.seat, &wl_seat_interface, 1);
    return std::unique_ptr<DataControl>(new DataControl(display, registry, seat, manager, protocol));
}

DataControl::DataControl(wl_display* display, wl_registry* registry, wl_proxy* seat, wl_proxy* manager,
                         const Protocol& protocol)
    : display_(display), registry_(registry), seat_(seat), manager_(manager), protocol_(protocol)
{
}

DataControl::~DataControl()
{
    if (device_)
        wl_proxy_marshal_flags(device_, deviceDestroy, nullptr, wl_proxy_get_version(device_), WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_marshal_flags(manager_, managerDestroy, nullptr, wl_proxy_get_version(manager_), WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_destroy(seat_);
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

const char* DataControl::protocolName() const
{
    return protocol_.manager->name;
}

void DataControl::listen(Listener& listener)
{
    static const DeviceListener deviceListener{dataOffer, selectionEvent, finished, primarySelection};
    listener_ = &listener;
    device_ = wl_proxy_marshal_flags(manager_, getDataDevice, protocol_.device, wl_proxy_get_version(manager_), 0,
                                     nullptr, seat_);
    wl_proxy_add_listener(device_, reinterpret_cast<void (**)(void)>(const_cast<DeviceListener*>(&deviceListener)),
                          this);
}

void DataControl::dataOffer(void*, wl_proxy*, wl_proxy* proxy)
{
    static const OfferListener offerListener{offered};
    // Owned by the event that says what it is for (selection or primary selection).
    auto* offer = new Offer(proxy);
    wl_proxy_add_listener(proxy, reinterpret_cast<void (**)(void)>(const_cast<OfferListener*>(&offerListener)), offer);
}

void DataControl::offered(void* data, wl_proxy*, const char* type)
{
    static_cast<Offer*>(data)->types.emplace_back(type);
}

void DataControl::selectionEvent(void* data, wl_proxy*, wl_proxy* proxy)
{
    auto& self = *static_cast<DataControl*>(data);
    std::shared_ptr<Offer> offer(proxy ? static_cast<Offer*>(wl_proxy_get_user_data(proxy)) : nullptr);
    if (self.listener_)
        self.listener_->selection(std::move(offer));
}

void DataControl::finished(void* data, wl_proxy*)
{
    // The seat is gone: nothing more will come.
    static_cast<DataControl*>(data)->lost_ = true;
}

void DataControl::primarySelection(void*, wl_proxy*, wl_proxy* proxy)
{
    // Only the clipboard is ours to follow.
    if (proxy)
        delete static_cast<Offer*>(wl_proxy_get_user_data(proxy));
}

wl_proxy* DataControl::makeSource(const std::vector<std::string>& types)
{
    static const SourceListener sourceListener{sendEvent, cancelledEvent};
    auto* source = wl_proxy_marshal_flags(manager_, createDataSource, protocol_.source, wl_proxy_get_version(manager_),
                                          0, nullptr);
    wl_proxy_add_listener(source, reinterpret_cast<void (**)(void)>(const_cast<SourceListener*>(&sourceListener)),
                          this);
    for (const auto& type : types)
        wl_proxy_marshal_flags(source, offerType, nullptr, wl_proxy_get_version(source), 0, type.c_str());
    return source;
}

void DataControl::destroySource(wl_proxy* source)
{
    wl_proxy_marshal_flags(source, sourceDestroy, nullptr, wl_proxy_get_version(source), WL_MARSHAL_FLAG_DESTROY);
}

void DataControl::setSelection(wl_proxy* source)
{
    wl_proxy_marshal_flags(device_, DeviceRequest::setSelection, nullptr, wl_proxy_get_version(device_), 0, source);
}

void DataControl::receive(const Offer& offer, const char* type, int fd)
{
    wl_proxy_marshal_flags(offer.proxy(), receiveType, nullptr, wl_proxy_get_version(offer.proxy()), 0, type, fd);
}

void DataControl::sendEvent(void* data, wl_proxy* source, const char* type, std::int32_t fd)
{
    auto& self = *static_cast<DataControl*>(data);
    if (self.listener_)
        self.listener_->send(source, type, fd);
    else
        close(fd);
}

void DataControl::cancelledEvent(void* data, wl_proxy* source)
{
    auto& self = *static_cast<DataControl*>(data);
    if (self.listener_)
        self.listener_->cancelled(source);
}

bool DataControl::wait(std::span<pollfd> others, int timeoutMs)
{
    if (lost_)
        return false;
    while (wl_display_prepare_read(display_) != 0)
        if (wl_display_dispatch_pending(display_) < 0)
            return !(lost_ = true);
    // A compositor that reads slowly: what is left is sent at the next wait.
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display_);
        return !(lost_ = true);
    }
    std::vector<pollfd> fds{{wl_display_get_fd(display_), POLLIN, 0}};
    fds.insert(fds.end(), others.begin(), others.end());
    for (auto& fd : fds)
        fd.revents = 0;
    const int ready = poll(fds.data(), fds.size(), timeoutMs);
    std::copy(fds.begin() + 1, fds.end(), others.begin());
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
        if (wl_display_read_events(display_) < 0)
            return !(lost_ = true);
    } else {
        wl_display_cancel_read(display_);
    }
    if (wl_display_dispatch_pending(display_) < 0)
        lost_ = true;
    return !lost_;
}

bool DataControl::roundTrip()
{
    if (lost_ || wl_display_roundtrip(display_) < 0)
        lost_ = true;
    return !lost_;
}

} // namespace twk::wayland
