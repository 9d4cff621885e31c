#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

namespace twk::ui {

// A list of entries with one selected (or none, -1). Selecting, by the user
// or by code, runs the click handler.
class ListBox : public Control {
public:
    explicit ListBox(std::vector<std::string> items = {}) : items_(std::move(items)) {}

    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items)
    {
        items_ = std::move(items);
        selected_ = -1;
        display();
    }
    int selectedIndex() const { return selected_; }
    void select(int index)
    {
        selected_ = index;
        display();
        if (auto handler = onClick)
            handler();
    }

    std::function<void()> onClick;

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

} // namespace twk::ui
