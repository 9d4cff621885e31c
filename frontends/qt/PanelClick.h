#pragma once

#include <QPoint>

#include <optional>

namespace twk::qt {

// Where the panel says its icon was clicked. A panel of StatusNotifierItems (sway's bar,
// Plasma, most panels of a Wayland session) tells the item the place of each click, and Qt's
// item passes on only the kind of click: it writes the place to its debug category
// "qt.qpa.tray" alone. An X11 client learns nothing of a pointer over a Wayland panel, so
// without it the menu would open where the pointer last crossed an X11 window. The place
// is taken from that category, whose messages are not printed.
class PanelClick {
public:
    // From now on the category is read; once a run, before the icon is made.
    static void follow();
    // The place of the last click not yet taken, in the desktop's coordinates.
    static std::optional<QPoint> take();
};

} // namespace twk::qt
