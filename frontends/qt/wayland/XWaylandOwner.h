#pragma once

#include "x11/XConnection.h"

namespace twk::wayland {

// Who holds the X11 clipboard of a Wayland session's XWayland: an X11 application of
// its own copy, or the compositor, which mirrors the Wayland clipboard there. sway and
// KWin pass an X11 copy on to Wayland applications only while an X11 window has the
// keyboard; the program takes the others from here.
class XWaylandOwner {
public:
    XWaylandOwner() : clipboard_(x_.ok() ? x_.atom("CLIPBOARD") : XCB_NONE) {}
    // True when an X11 application holds the clipboard: not the compositor (the window
    // manager, whose windows share one client's resource base), nor nobody.
    bool isApplication();
    // The same of a window that held it.
    bool isApplication(xcb_window_t owner);

private:
    x11::XConnection x_;
    xcb_window_t windowManager();

    xcb_atom_t clipboard_;
};

} // namespace twk::wayland
