#pragma once

#include <cstdint>

namespace twk::ui {

// Window and control geometry in twips (1/1440 inch), as the settings store it.
struct Bounds {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const Bounds&) const = default;
};

enum class WindowState : std::int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

} // namespace twk::ui
