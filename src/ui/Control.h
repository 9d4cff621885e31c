#pragma once

#include <functional>
#include <string>

namespace twk::ui {

// What every control of a dialog has: a caption ("&" marks the access key),
// a tooltip, and whether it is enabled and visible. A front end's widget
// follows it through onDisplay.
class Control {
public:
    explicit Control(std::string caption = {}, std::string tooltip = {})
        : caption_(std::move(caption)), tooltip_(std::move(tooltip))
    {
    }

    const std::string& caption() const { return caption_; }
    const std::string& tooltip() const { return tooltip_; }
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }

    void setCaption(std::string caption)
    {
        caption_ = std::move(caption);
        display();
    }
    void setTooltip(std::string tooltip)
    {
        tooltip_ = std::move(tooltip);
        display();
    }
    void setEnabled(bool enabled)
    {
        enabled_ = enabled;
        display();
    }
    void setVisible(bool visible)
    {
        visible_ = visible;
        display();
    }

    std::function<void()> onDisplay;

protected:
    void display()
    {
        if (onDisplay)
            onDisplay();
    }

private:
    std::string caption_;
    std::string tooltip_;
    bool enabled_ = true;
    bool visible_ = true;
};

// A push button; the window wires its click handler.
class Button : public Control {
public:
    using Control::Control;
    void click()
    {
        if (auto handler = onClick)
            handler();
    }
    std::function<void()> onClick;
};

} // namespace twk::ui
