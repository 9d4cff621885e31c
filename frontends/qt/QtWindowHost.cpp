#include "QtWindowHost.h"

#include "AboutWidget.h"
#include "BrowserWidget.h"
#include "OptionsWidget.h"
#include "TextWindowWidget.h"
#include "about/FrmAbout.h"
#include "capture/FrmToText.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace twk::qt {
namespace {

// The time of the viewer's last tick (before the first: of its loading), owned by its timer.
class TickClock : public QObject, public QElapsedTimer {
public:
    TickClock(QObject* timer, const QElapsedTimer& since) : QObject(timer), QElapsedTimer(since) {}
};

// loaded: started when the viewer was loaded, before the toolkit may have been made.
WindowWidget* viewerWidget(capture::FrmToText& viewer, const QElapsedTimer& loaded, double tpp,
                           const std::function<void()>& help)
{
    // The polling timer runs from the moment the viewer is loaded: its first tick comes
    // an interval after that, whatever making the toolkit and the widget took since.
    auto* timer = new QTimer;
    // A coarse timer may fire up to 5 % early: two ticks could then share one second,
    // the unit of the log's stamps.
    timer->setTimerType(Qt::PreciseTimer);
    timer->start(static_cast<int>(std::max<qint64>(0, viewer.Timer1.interval() - loaded.elapsed())));
    auto* widget = new TextWindowWidget(
        {viewer, viewer.Text1, QStringLiteral("&Cancel"), [&viewer] { viewer.Command1_Click(); }, nullptr, tpp, help});
    // It lives as long as the viewer's window.
    timer->setParent(widget);
    auto* sinceTick = new TickClock(timer, loaded);
    QObject::connect(timer, &QTimer::timeout, widget, [timer, sinceTick, &viewer] {
        sinceTick->restart();
        // The first tick, or one woken from a doze, came on a shortened interval: the
        // ticks go on at the interval from here.
        if (timer->interval() != viewer.Timer1.interval())
            timer->setInterval(viewer.Timer1.interval());
        viewer.Timer1.fire();
    });
    viewer.Timer1.onIntervalChanged = [timer, &viewer] { timer->setInterval(viewer.Timer1.interval()); };
    // Dozing, the timer stops: no wakeup while nothing can change. Woken, the next tick
    // comes when it would have come had the timer kept going.
    viewer.Timer1.onDozeChanged = [timer, sinceTick, &viewer] {
        if (viewer.Timer1.dozing()) {
            timer->stop();
            return;
        }
        timer->start(viewer.Timer1.untilNextBeat(sinceTick->elapsed()));
    };
    return widget;
}

WindowWidget* catcherWidget(logging::FrmLinkCatcher& catcher, double tpp, const std::function<void()>& help)
{
    return new TextWindowWidget({catcher, catcher.Text1, QStringLiteral("&OK (ESC)"),
                                 [&catcher] { catcher.Command1_Click(); }, [&catcher] { catcher.Text1_DblClick(); },
                                 tpp, help});
}

} // namespace

void QtWindowHost::windowLoaded(ui::Window& window)
{
    // The hidden main window has nothing to show.
    if (dynamic_cast<shell::Form1*>(&window))
        return;
    QElapsedTimer loaded;
    loaded.start();
    if (needsToolkit)
        needsToolkit();
    const double tpp = twipsPerPixel_();
    const auto help = [this] {
        if (onHelp)
            onHelp();
    };
    // One line per kind of window.
    WindowWidget* widget = nullptr;
    if (auto* viewer = dynamic_cast<capture::FrmToText*>(&window))
        widget = viewerWidget(*viewer, loaded, tpp, help);
    else if (auto* catcher = dynamic_cast<logging::FrmLinkCatcher*>(&window))
        widget = catcherWidget(*catcher, tpp, help);
    else if (auto* options = dynamic_cast<configuration::FrmOptions*>(&window))
        widget = new OptionsWidget(*options, tpp, help);
    else if (auto* browser = dynamic_cast<configuration::FrmFileBrowser*>(&window))
        widget = new BrowserWidget(*browser, tpp, help);
    else if (auto* about = dynamic_cast<about::FrmAbout*>(&window))
        widget = new AboutWidget(*about, tpp, help);
    if (!widget)
        return;
    // Not yet shown: a window is shown after its loading.
    if (holding_)
        widget->holdVisibility();
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
    if (WindowWidget* widget = it->second) {
        widget->detach();
        for (auto* timer : widget->findChildren<QTimer*>())
            timer->stop();
        widget->hide();
        // It may be inside one of its own signals (the timer, the close box).
        widget->deleteLater();
    }
    widgets_.erase(it);
}

void QtWindowHost::showHeld()
{
    holding_ = false;
    for (auto& [window, widget] : widgets_)
        if (widget)
            widget->releaseVisibility();
}

void QtWindowHost::bringForward()
{
    for (auto& [window, widget] : widgets_)
        if (widget && window->visible())
            window->show();
}

} // namespace twk::qt
