#pragma once

#include "ui/Window.h"

#include <QWidget>

#include <functional>

namespace twk::qt {

// A real window that follows one of the program's windows: caption, place and
// outer size in twips, state, visibility, enabled state; and that hands the
// user's moves, sizes and close box back to it. F1 asks for help.
class WindowWidget : public QWidget, public ui::WindowPeer {
    Q_OBJECT
public:
    WindowWidget(ui::Window& window, double twipsPerPixel, std::function<void()> onHelp);
    ~WindowWidget() override;

    // The program has dropped the window: nothing may reach it any more.
    virtual void detach();
    bool attached() const { return window_ != nullptr; }

    void windowChanged() override;
    void bringToFront() override;

    // Held, the real window keeps the visibility it has while the program's window
    // is shown and hidden; released, it takes the program's once.
    void holdVisibility() { held_ = true; }
    void releaseVisibility();

protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Runs a handler of the model unless the window is gone.
    void whenAttached(const std::function<void()>& handler);

    bool applying_ = false;

private:
    void reportBounds();
    void adoptRealSize();
    bool placeWithinFirstFrame();

    QSize frame() const { return frameGeometry().size() - geometry().size(); }

    ui::Window* window_;
    double twipsPerPixel_;
    // The frame the last placement allowed for: none until the window
    // manager has decorated the window once it is shown.
    QSize appliedFrame_;
    bool held_ = false;
};

} // namespace twk::qt
