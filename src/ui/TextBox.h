#pragma once

#include "ui/Geometry.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace twk::ui {

// A text box whose change handler runs inside the code that changes its text,
// before that code goes on.
class TextBox {
public:
    explicit TextBox(Bounds design = {}) : bounds_(design) {}

    const std::string& text() const { return *text_; }
    // Advances at every change of the text: a cheap "has it changed since".
    unsigned long revision() const { return revision_; }
    // A text that differs from the present one runs onChange before returning.
    void setText(std::string text);
    // As setText(other.text()), but the two boxes share the text until either
    // changes it: a huge text shown in a second box is not copied.
    void setTextOf(const TextBox& other);
    // Adds to the end and runs onChange, as setText(text() + more) would, but
    // tells the widget only what was added (onAppended), so a long text
    // is not shown anew for every line added to it.
    void append(std::string_view more);
    // The text as last set: append keeps it, every other change starts a new one. A
    // reader holding it can tell that the text has only grown since, without a copy.
    std::weak_ptr<const std::string> lineage() const { return text_; }

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
    // What append added; without it, append refreshes the widget through onDisplay.
    std::function<void(std::string_view added)> onAppended;

private:
    void changed();

    std::shared_ptr<std::string> text_ = std::make_shared<std::string>(); // shared only by setTextOf
    unsigned long revision_ = 0;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

} // namespace twk::ui
