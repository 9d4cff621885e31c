#include "QtWindowHost.h"

#include "TextWindowWidget.h"
#include "capture/FrmToText.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"

#include <QTimer>

namespace twk::qt {
namespace {

QWidget* viewerWidget(capture::FrmToText& viewer, double tpp)
{
    auto* widget = new TextWindowWidget(
        {viewer, viewer.Text1, QStringLiteral("&Cancel"), [&viewer] { viewer.Command1_Click(); }, nullptr, tpp});
    // The polling timer lives as long as the viewer's window.
    auto* timer = new QTimer(widget);
    timer->setInterval(viewer.Timer1.interval());
    QObject::connect(timer, &QTimer::timeout, widget, [&viewer] { viewer.Timer1.fire(); });
    viewer.Timer1.onIntervalChanged = [timer, &viewer] { timer->setInterval(viewer.Timer1.interval()); };
    timer->start();
    return widget;
}

QWidget* catcherWidget(logging::FrmLinkCatcher& catcher, double tpp)
{
    return new TextWindowWidget({catcher, catcher.Text1, QStringLiteral("&OK (ESC)"),
                                 [&catcher] { catcher.Command1_Click(); }, [&catcher] { catcher.Text1_DblClick(); },
                                 tpp});
}

} // namespace

void QtWindowHost::windowLoaded(ui::Window& window)
{
    QWidget* widget = nullptr;
    if (auto* viewer = dynamic_cast<capture::FrmToText*>(&window))
        widget = viewerWidget(*viewer, twipsPerPixel_);
    else if (auto* catcher = dynamic_cast<logging::FrmLinkCatcher*>(&window))
        widget = catcherWidget(*catcher, twipsPerPixel_);
    // The hidden main window has nothing to show.
    if (widget)
        widgets_[&window] = widget;
}

void QtWindowHost::windowUnloaded(ui::Window& window)
{
    if (dynamic_cast<shell::Form1*>(&window)) {
        if (onProgramEnded)
            onProgramEnded();
        return;
    }
    const auto it = widgets_.find(&window);
    if (it == widgets_.end())
        return;
    if (QWidget* widget = it->second) {
        if (auto* text = qobject_cast<TextWindowWidget*>(widget))
            text->detach();
        for (auto* timer : widget->findChildren<QTimer*>())
            timer->stop();
        widget->hide();
        // It may be inside one of its own signals (the timer, the close box).
        widget->deleteLater();
    }
    widgets_.erase(it);
}

void QtWindowHost::bringForward()
{
    for (auto& [window, widget] : widgets_)
        if (widget && window->visible())
            window->show();
}

} // namespace twk::qt
