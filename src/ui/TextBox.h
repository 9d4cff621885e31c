#pragma once

#include "ui/Geometry.h"

#include <functional>
#include <string>

namespace twk::ui {

// A text box whose change handler runs inside the code that changes its text,
// before that code goes on.
class TextBox {
public:
    explicit TextBox(Bounds design = {}) : bounds_(design) {}

    const std::string& text() const { return text_; }
    // Advances at every change of the text: a cheap "has it changed since".
    unsigned long revision() const { return revision_; }
    // A text that differs from the present one runs onChange before returning.
    void setText(std::string text);

    const Bounds& bounds() const { return bounds_; }
    void setSize(float width, float height);

    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    void setVisible(bool visible);
    void setEnabled(bool enabled);

    // The text a double-click selected, as the front end's widget reports it.
    std::string selectedText;

    std::function<void()> onChange;  // the owning window's handler
    std::function<void()> onDisplay; // a front end keeps its widget in step

private:
    std::string text_;
    unsigned long revision_ = 0;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

} // namespace twk::ui
