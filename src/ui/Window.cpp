#include "ui/Window.h"

namespace twk::ui {

Window::Window(std::string caption, Bounds design) : caption_(std::move(caption)), bounds_(design)
{
}

void Window::changed()
{
    if (peer_)
        peer_->windowChanged();
}

void Window::setCaption(std::string caption)
{
    caption_ = std::move(caption);
    changed();
}

void Window::show()
{
    if (!visible_) {
        visible_ = true;
        changed();
        // Restored minimised: it comes up in the task bar, not in front.
        if (state_ == WindowState::Minimized)
            return;
    }
    if (peer_)
        peer_->bringToFront();
}

void Window::hide()
{
    if (!visible_)
        return;
    visible_ = false;
    changed();
}

void Window::setEnabled(bool enabled)
{
    enabled_ = enabled;
    changed();
}

void Window::setState(WindowState state)
{
    state_ = state;
    changed();
    Form_Resize();
}

void Window::applyBounds(Bounds bounds)
{
    const bool resized = bounds.width != bounds_.width || bounds.height != bounds_.height;
    bounds_ = bounds;
    changed();
    if (resized)
        Form_Resize();
}

void Window::move(Bounds bounds)
{
    applyBounds(bounds);
}

void Window::setHeight(float height)
{
    Bounds b = bounds_;
    b.height = height;
    applyBounds(b);
}

void Window::setWidth(float width)
{
    Bounds b = bounds_;
    b.width = width;
    applyBounds(b);
}

void Window::setTop(float top)
{
    Bounds b = bounds_;
    b.top = top;
    applyBounds(b);
}

void Window::centre(float screenWidth, float screenHeight)
{
    Bounds b = bounds_;
    b.top = (screenHeight - b.height) / 2;
    b.left = (screenWidth - b.width) / 2;
    applyBounds(b);
}

void Window::userChangedBounds(Bounds bounds)
{
    applyBounds(bounds);
}

void Window::userChangedState(WindowState state)
{
    if (state == state_)
        return;
    state_ = state;
    Form_Resize();
}

bool Window::requestClose()
{
    if (!closer_) {
        bool cancel = false;
        Form_Unload(cancel);
        return !cancel;
    }
    // The closer may destroy this window: keep it alive on the stack.
    const auto closer = closer_;
    return closer();
}

} // namespace twk::ui
