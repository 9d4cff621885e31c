#pragma once

#include "ui/Window.h"

#include <memory>
#include <utility>

namespace twk::ui {

// Where a front end learns of windows that come and go.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void windowLoaded(Window& window) = 0;
    virtual void windowUnloaded(Window& window) = 0;
};

// The program-wide reference to one window: empty until the window is first
// needed, empty again once it has closed for real.
template <class W> class WindowSlot {
public:
    explicit WindowSlot(WindowHost& host) : host_(host) {}
    WindowSlot(const WindowSlot&) = delete;
    WindowSlot& operator=(const WindowSlot&) = delete;

    bool loaded() const { return window_ != nullptr; }
    W* get() const { return window_.get(); }
    W* operator->() const { return window_.get(); }
    W& operator*() const { return *window_; }

    // The loaded window, or a new one that has run its Form_Load.
    template <class... Args> W& load(Args&&... args)
    {
        if (window_)
            return *window_;
        window_ = std::make_unique<W>(std::forward<Args>(args)...);
        W& window = *window_;
        window.setCloser([this] { return close(); });
        host_.windowLoaded(window);
        window.Form_Load();
        return window;
    }

    // Asks the window to close; when its Form_Unload lets it, drops it.
    bool close()
    {
        if (!window_)
            return true;
        bool cancel = false;
        window_->Form_Unload(cancel);
        if (cancel || !window_)
            return !window_;
        host_.windowUnloaded(*window_);
        window_.reset();
        return true;
    }

private:
    WindowHost& host_;
    std::unique_ptr<W> window_;
};

} // namespace twk::ui
