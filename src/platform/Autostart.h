#pragma once

namespace twk::platform {

// Whether the desktop starts this program file when the user logs in. The
// state is the system's own entry for it, which the user may also change
// elsewhere, so it is asked each time rather than remembered.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool enabled() = 0;
    // Adds the entry (for the program file that is running) or removes it;
    // false when that failed.
    virtual bool setEnabled(bool on) = 0;
};

} // namespace twk::platform
