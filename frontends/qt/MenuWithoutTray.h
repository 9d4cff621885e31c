#pragma once

#include <QObject>

#include <functional>

namespace twk::qt {

// A desktop without a tray (GNOME without an extension, a bare Wayland
// session) gives the icon nowhere to be clicked. There the program's menu
// opens with a right click in its text windows instead.
class MenuWithoutTray final : public QObject {
    Q_OBJECT
public:
    explicit MenuWithoutTray(std::function<void()> openMenu);
    ~MenuWithoutTray() override;

    // How to reach the menu, said once when the program starts without a tray.
    static QString hint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> openMenu_;
};

} // namespace twk::qt
