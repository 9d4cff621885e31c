#include "wayland/XWaylandOwner.h"

#include <cstdlib>
#include <memory>

namespace twk::wayland {
namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

} // namespace

xcb_window_t XWaylandOwner::windowManager()
{
    auto* c = x_.get();
    const auto cookie = xcb_get_property(c, 0, x_.root(), x_.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1);
    const Owned<xcb_get_property_reply_t> wm(xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!wm || xcb_get_property_value_length(wm.get()) != sizeof(xcb_window_t))
        return XCB_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(wm.get()));
}

bool XWaylandOwner::isApplication()
{
    if (!x_.ok())
        return false;
    auto* c = x_.get();
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard_), nullptr), &std::free);
    return owner && isApplication(owner->owner);
}

bool XWaylandOwner::isApplication(xcb_window_t owner)
{
    if (!x_.ok() || owner == XCB_NONE)
        return false;
    const auto wm = windowManager();
    if (wm == XCB_NONE)
        return true;
    // Every resource of one X client carries that client's base in its high bits.
    const auto clientBits = ~xcb_get_setup(x_.get())->resource_id_mask;
    return (owner & clientBits) != (wm & clientBits);
}

} // namespace twk::wayland
