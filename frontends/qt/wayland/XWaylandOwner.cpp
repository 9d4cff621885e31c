#include "wayland/XWaylandOwner.h"

#include <cstdlib>
#include <memory>

namespace twk::wayland {
namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

} // namespace

bool XWaylandOwner::isApplication()
{
    if (!x_.ok())
        return false;
    auto* c = x_.get();
    const auto ownerCookie = xcb_get_selection_owner(c, clipboard_);
    const auto wmCookie = xcb_get_property(c, 0, x_.root(), x_.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1);
    const Owned<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(c, ownerCookie, nullptr),
                                                       &std::free);
    const Owned<xcb_get_property_reply_t> wm(xcb_get_property_reply(c, wmCookie, nullptr), &std::free);
    if (!owner || owner->owner == XCB_NONE)
        return false;
    if (!wm || xcb_get_property_value_length(wm.get()) != sizeof(xcb_window_t))
        return true;
    const auto wmWindow = *static_cast<const xcb_window_t*>(xcb_get_property_value(wm.get()));
    // Every resource of one X client carries that client's base in its high bits.
    const auto clientBits = ~xcb_get_setup(c)->resource_id_mask;
    return (owner->owner & clientBits) != (wmWindow & clientBits);
}

} // namespace twk::wayland
