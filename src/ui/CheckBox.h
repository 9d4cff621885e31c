#pragma once

#include "ui/Control.h"

namespace twk::ui {

// A check box: 1 ticked, 0 cleared. Its click handler runs whenever the
// value changes, by the user or by code.
class CheckBox : public Control {
public:
    using Control::Control;

    int value() const { return value_; }
    bool ticked() const { return value_ == 1; }
    void setValue(int value)
    {
        if (value == value_)
            return;
        value_ = value;
        display();
        if (auto handler = onClick)
            handler();
    }

    std::function<void()> onClick;

private:
    int value_ = 0;
};

} // namespace twk::ui
