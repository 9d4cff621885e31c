#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace twk::x11 {

// A connection of our own to the X server, for work done beside the toolkit's.
class XConnection {
public:
    XConnection(); // to $DISPLAY
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    bool ok() const { return connection_ && !xcb_connection_has_error(connection_); }
    xcb_connection_t* get() const { return connection_; }
    xcb_window_t root() const { return root_; }

    xcb_atom_t atom(const std::string& name);
    std::string atomName(xcb_atom_t atom);
    // An unmapped window that hears about changes to its own properties.
    xcb_window_t makeWindow();
    // Bytes a single property change may carry.
    std::size_t maxPropertyBytes() const;

    enum class Wait { event, woken, timedOut, lost };
    // The next event, waiting at most `bound`; `wakeFd` (when >= 0) ends the wait when readable.
    Wait next(std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>& event, std::chrono::milliseconds bound,
              int wakeFd = -1);

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    std::map<std::string, xcb_atom_t> atoms_;
    std::map<xcb_atom_t, std::string> names_;
};

using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

inline std::uint8_t kindOf(const xcb_generic_event_t& event)
{
    return event.response_type & 0x7F;
}

} // namespace twk::x11
