#pragma once

#include "platform/Tray.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

namespace twk::qt {

// The notification-area icon. Its clicks reach the core as the event codes
// the tray decoder expects.
class QtTray final : public QObject, public platform::Tray {
    Q_OBJECT
public:
    explicit QtTray(const QIcon& icon);

    bool addIcon(const std::string& tip) override;
    void removeIcon() override;
    void popup(ui::Menu& menu) override;

    // Gets the mouse event code of a click on the icon.
    std::function<void(int eventCode)> onNotification;

private:
    QSystemTrayIcon icon_;
};

} // namespace twk::qt
