#pragma once

#include "ui/Control.h"

#include <vector>

namespace twk::ui {

class OptionGroup;

// An option button: selecting one clears the others of its group.
class OptionButton : public Control {
public:
    using Control::Control;

    bool selected() const { return selected_; }
    void select();

private:
    friend class OptionGroup;
    void setSelected(bool selected)
    {
        if (selected == selected_)
            return;
        selected_ = selected;
        display();
    }

    bool selected_ = false;
    OptionGroup* group_ = nullptr;
};

class OptionGroup {
public:
    explicit OptionGroup(std::vector<OptionButton*> options) : options_(std::move(options))
    {
        for (auto* option : options_)
            option->group_ = this;
    }
    OptionGroup(const OptionGroup&) = delete;
    OptionGroup& operator=(const OptionGroup&) = delete;

    void select(OptionButton& chosen)
    {
        for (auto* option : options_)
            option->setSelected(option == &chosen);
    }

private:
    std::vector<OptionButton*> options_;
};

inline void OptionButton::select()
{
    if (group_)
        group_->select(*this);
    else
        setSelected(true);
}

} // namespace twk::ui
