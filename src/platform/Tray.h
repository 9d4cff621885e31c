#pragma once

#include <string>

namespace twk::ui {
struct Menu;
}

namespace twk::platform {

// The notification-area icon and the popup menu it opens.
class Tray {
public:
    virtual ~Tray() = default;
    virtual bool addIcon(const std::string& tip) = 0;
    virtual void removeIcon() = 0;
    // Shows the menu at the mouse pointer and returns when it has closed, after
    // the chosen entry's handler has run.
    virtual void popup(ui::Menu& menu) = 0;
};

} // namespace twk::platform
