#pragma once

#include "platform/Tray.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>

namespace twk::qt {

// The notification-area icon. Its clicks reach the core as the event codes
// the tray decoder expects. It is made and shown from the event loop: finding
// the tray (over X11 or D-Bus) takes milliseconds that a start-up spends better
// while the first polling tick counts down.
class QtTray final : public QObject, public platform::Tray {
    Q_OBJECT
public:
    explicit QtTray(const QIcon& icon = {});
    // The image, once the toolkit that draws it is made; before the icon is shown.
    void setImage(const QIcon& icon) { image_ = icon; }
    // The icon is shown no sooner than ms from now: a start that most likely ends at its
    // first tick spends nothing on it before that tick.
    void holdFor(int ms) { heldUntil_ = QDeadlineTimer(ms); }
    // The menu opens where the panel says its icon was clicked, when it says so, rather
    // than at the pointer: on a Wayland session the pointer over a panel is not known.
    void openAtPanelClicks();

    bool addIcon(const std::string& tip) override;
    void removeIcon() override;
    void popup(ui::Menu& menu) override;

    // Gets the mouse event code of a click on the icon.
    std::function<void(int eventCode)> onNotification;

private:
    void follow();
    void notify(QSystemTrayIcon::ActivationReason reason);

    QIcon image_;
    QString tip_;
    bool wanted_ = false;
    bool following_ = false;
    QDeadlineTimer heldUntil_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool atPanelClicks_ = false;
    // The place of the click being handled, as the panel gave it.
    std::optional<QPoint> clickedAt_;
};

} // namespace twk::qt
