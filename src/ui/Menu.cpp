#include "ui/Menu.h"

namespace twk::ui {
namespace {

MenuEntry* findIn(std::vector<MenuEntry>& entries, const std::string& name)
{
    for (auto& entry : entries) {
        if (entry.name == name)
            return &entry;
        if (auto* child = findIn(entry.children, name))
            return child;
    }
    return nullptr;
}

} // namespace

MenuEntry* Menu::find(const std::string& name)
{
    return findIn(entries, name);
}

} // namespace twk::ui
