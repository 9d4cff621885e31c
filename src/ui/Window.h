#pragma once

#include "ui/Geometry.h"

#include <functional>
#include <string>

namespace twk::ui {

// What a front end does to keep its real window in step with the model.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void windowChanged() = 0; // caption, bounds, state, visibility or enabled state
    virtual void bringToFront() = 0;
};

// A window of the program: its state, and the handlers the program gives it.
// A front end shows it, reports the user's moves and sizes, and asks to close it.
class Window {
public:
    Window(std::string caption, Bounds design);
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& caption() const { return caption_; }
    const Bounds& bounds() const { return bounds_; }
    WindowState state() const { return state_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }

    void setCaption(std::string caption);
    // Shows the window, or brings it forward when it is already shown.
    void show();
    void hide();
    void setEnabled(bool enabled);
    void setState(WindowState state);
    // Moves and sizes in one step; a new size runs Form_Resize.
    void move(Bounds bounds);
    void setHeight(float height);
    void setWidth(float width);
    void setTop(float top);
    // Centres the window on a screen of the given size in twips.
    void centre(float screenWidth, float screenHeight);

    // Reported by a front end after the user moved, sized or minimised it.
    void userChangedBounds(Bounds bounds);
    void userChangedState(WindowState state);
    // The close box, or a close asked for by the program: runs Form_Unload,
    // which may cancel. True when the window closed for real (the window
    // object is gone afterwards).
    bool requestClose();

    void attach(WindowPeer* peer) { peer_ = peer; }
    void setCloser(std::function<bool()> closer) { closer_ = std::move(closer); }

    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload(bool& cancel) { (void)cancel; }

private:
    void changed();
    void applyBounds(Bounds bounds);

    std::string caption_;
    Bounds bounds_;
    WindowState state_ = WindowState::Normal;
    bool visible_ = false;
    bool enabled_ = true;
    WindowPeer* peer_ = nullptr;
    std::function<bool()> closer_;
};

} // namespace twk::ui
