#pragma once

#include <functional>
#include <string>
#include <vector>

namespace twk::ui {

// A popup menu entry; "&" marks the access key of the letter after it.
struct MenuEntry {
    std::string name;
    std::string caption;
    std::function<void()> onClick;
    std::vector<MenuEntry> children; // a submenu when not empty
};

struct Menu {
    std::string caption;
    std::vector<MenuEntry> entries;

    MenuEntry* find(const std::string& name);
};

} // namespace twk::ui
