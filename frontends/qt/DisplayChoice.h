#pragma once

#include <functional>
#include <optional>
#include <string>

namespace twk::qt {

// The display system Qt is to use, if the program chooses one. On a Wayland
// session a program in the background never sees the clipboard change, so
// it runs on XWayland where that is there; a choice the user made stands.
inline std::optional<std::string> ChosenQtPlatform(const std::function<std::string(const char*)>& variable)
{
    if (!variable("QT_QPA_PLATFORM").empty())
        return std::nullopt;
    if (!variable("WAYLAND_DISPLAY").empty() && !variable("DISPLAY").empty())
        return std::string("xcb");
    return std::nullopt;
}

} // namespace twk::qt
