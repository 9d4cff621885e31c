#include "x11/XConnection.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>

namespace twk::x11 {

XConnection::XConnection()
{
    int screenNumber = 0;
    connection_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection_))
        return;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (screens.rem)
        root_ = screens.data->root;
}

XConnection::~XConnection()
{
    if (connection_)
        xcb_disconnect(connection_);
}

xcb_atom_t XConnection::atom(const std::string& name)
{
    if (const auto found = atoms_.find(name); found != atoms_.end())
        return found->second;
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str());
    xcb_atom_t atom = XCB_NONE;
    if (auto* reply = xcb_intern_atom_reply(connection_, cookie, nullptr)) {
        atom = reply->atom;
        std::free(reply);
    }
    atoms_[name] = atom;
    names_[atom] = name;
    return atom;
}

std::string XConnection::atomName(xcb_atom_t atom)
{
    if (const auto found = names_.find(atom); found != names_.end())
        return found->second;
    std::string name;
    if (auto* reply = xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr)) {
        name.assign(xcb_get_atom_name_name(reply), static_cast<std::size_t>(xcb_get_atom_name_name_length(reply)));
        std::free(reply);
    }
    names_[atom] = name;
    return name;
}

xcb_window_t XConnection::makeWindow()
{
    const xcb_window_t window = xcb_generate_id(connection_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    return window;
}

std::size_t XConnection::maxPropertyBytes() const
{
    // The request's length is counted in 4-byte units; leave room for its header.
    return static_cast<std::size_t>(xcb_get_maximum_request_length(connection_)) * 4 - 64;
}

XConnection::Wait XConnection::next(Event& event, std::chrono::milliseconds bound, int wakeFd)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (auto* got = xcb_poll_for_event(connection_)) {
            event.reset(got);
            return Wait::event;
        }
        if (xcb_connection_has_error(connection_))
            return Wait::lost;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Wait::timedOut;
        pollfd fds[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const auto slice = std::min<long long>(left.count(), 60000);
        const int ready = poll(fds, wakeFd >= 0 ? 2 : 1, static_cast<int>(slice));
        if (ready > 0 && wakeFd >= 0 && (fds[1].revents & POLLIN))
            return Wait::woken;
    }
}

} // namespace twk::x11
