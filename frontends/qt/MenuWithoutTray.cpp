#include "MenuWithoutTray.h"

#include "TextWindowWidget.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace twk::qt {

MenuWithoutTray::MenuWithoutTray(std::function<void()> openMenu) : openMenu_(std::move(openMenu))
{
    qApp->installEventFilter(this);
}

MenuWithoutTray::~MenuWithoutTray()
{
    qApp->removeEventFilter(this);
}

QString MenuWithoutTray::hint()
{
    return QStringLiteral("No system tray was found on this desktop. TWK's menu opens with a right click in the "
                          "\"Recent Clipboard Text\" or \"Link Catcher\" window, and the first of them is shown "
                          "for that.");
}

bool MenuWithoutTray::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType()) {
        if (qobject_cast<TextWindowWidget*>(static_cast<QWidget*>(watched)->window())) {
            if (openMenu_)
                openMenu_();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace twk::qt
