#pragma once

#include "WindowWidget.h"
#include "ui/WindowSlot.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

namespace twk::qt {

// Gives each window the core loads a real window, and drops it again.
class QtWindowHost final : public ui::WindowHost {
public:
    // twipsPerPixel is asked when a window is made, after needsToolkit.
    explicit QtWindowHost(std::function<double()> twipsPerPixel) : twipsPerPixel_(std::move(twipsPerPixel)) {}
    explicit QtWindowHost(double twipsPerPixel) : twipsPerPixel_([twipsPerPixel] { return twipsPerPixel; }) {}

    void windowLoaded(ui::Window& window) override;
    void windowUnloaded(ui::Window& window) override;

    // Restores and raises every window that is shown.
    void bringForward();

    // The start shows the viewers and hides them again as the settings say, and a desktop
    // without a tray has the viewer shown after that. An X11 window mapped, unmapped and
    // mapped again within milliseconds may stay unmapped (seen on KWin's XWayland), so
    // from hold() until showHeld() the real windows are not shown at all: each then
    // takes the visibility its program's window has, once.
    void hold() { holding_ = true; }
    void showHeld();

    // Runs once the hidden main window is gone: the program has ended.
    std::function<void()> onProgramEnded;
    // F1 in any window.
    std::function<void()> onHelp;
    // Runs before a real window is made: makes the toolkit when it is not yet.
    std::function<void()> needsToolkit;

private:
    std::function<double()> twipsPerPixel_;
    std::map<ui::Window*, QPointer<WindowWidget>> widgets_;
    bool holding_ = false;
};

} // namespace twk::qt
