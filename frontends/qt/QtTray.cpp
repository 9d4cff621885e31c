#include "QtTray.h"

#include "PanelClick.h"
#include "Texts.h"
#include "ui/Menu.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>

#include <map>

namespace twk::qt {
namespace {

constexpr int kLeftButtonUp = 514;
constexpr int kLeftDoubleClick = 515;
constexpr int kRightButtonUp = 517;

void addEntries(QMenu& menu, std::vector<ui::MenuEntry>& entries, std::map<QAction*, ui::MenuEntry*>& actions)
{
    for (auto& entry : entries) {
        if (!entry.children.empty()) {
            addEntries(*menu.addMenu(toQt(entry.caption)), entry.children, actions);
            continue;
        }
        actions[menu.addAction(toQt(entry.caption))] = &entry;
    }
}

} // namespace

QtTray::QtTray(const QIcon& icon) : image_(icon)
{
}

bool QtTray::addIcon(const std::string& tip)
{
    tip_ = toQt(tip);
    wanted_ = true;
    if (!following_) {
        following_ = true;
        QMetaObject::invokeMethod(this, &QtTray::follow, Qt::QueuedConnection);
    }
    return true;
}

void QtTray::openAtPanelClicks()
{
    atPanelClicks_ = true;
    PanelClick::follow();
}

void QtTray::removeIcon()
{
    wanted_ = false;
    if (icon_)
        icon_->hide();
}

void QtTray::follow()
{
    following_ = false;
    if (!wanted_)
        return; // removed before it was ever shown
    if (!heldUntil_.hasExpired()) {
        following_ = true;
        QTimer::singleShot(heldUntil_.remainingTime(), this, &QtTray::follow);
        return;
    }
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(image_);
        // Queued: "Exit" hides the icon, and on X11 that deletes the icon's window,
        // which must not happen inside that window's own mouse event.
        connect(
            icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (!onNotification)
                    return;
                clickedAt_ = atPanelClicks_ ? PanelClick::take() : std::nullopt;
                notify(reason);
                clickedAt_.reset();
            },
            Qt::QueuedConnection);
    }
    icon_->setToolTip(tip_);
    // Shown even without a tray now: a tray that starts later picks it up.
    icon_->show();
}

void QtTray::notify(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        onNotification(kRightButtonUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        onNotification(kLeftDoubleClick);
        break;
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::MiddleClick:
        onNotification(kLeftButtonUp);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void QtTray::popup(ui::Menu& menu)
{
    QMenu shown;
    std::map<QAction*, ui::MenuEntry*> actions;
    addEntries(shown, menu.entries, actions);
    QAction* chosen = shown.exec(clickedAt_.value_or(QCursor::pos()));
    const auto it = actions.find(chosen);
    if (it == actions.end() || !it->second->onClick)
        return;
    const auto handler = it->second->onClick;
    handler();
}

} // namespace twk::qt
