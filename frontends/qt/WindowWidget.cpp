#include "WindowWidget.h"

#include "Texts.h"

#include <QCloseEvent>
#include <QLayout>
#include <QShortcut>

#include <cmath>

namespace twk::qt {

WindowWidget::WindowWidget(ui::Window& window, double twipsPerPixel, std::function<void()> onHelp)
    : window_(&window), twipsPerPixel_(twipsPerPixel)
{
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this, onHelp] {
        if (onHelp && window_)
            onHelp();
    });
    window.attach(this);
}

WindowWidget::~WindowWidget()
{
    if (window_)
        window_->attach(nullptr);
}

void WindowWidget::detach()
{
    if (window_)
        window_->attach(nullptr);
    window_ = nullptr;
}

void WindowWidget::whenAttached(const std::function<void()>& handler)
{
    if (window_ && !applying_)
        handler();
}

void WindowWidget::windowChanged()
{
    if (!window_)
        return;
    applying_ = true;
    setWindowTitle(toQt(window_->caption()));
    const auto& b = window_->bounds();
    const double tpp = twipsPerPixel_;
    // The program's sizes are outer sizes, frame and title bar included.
    appliedFrame_ = frame();
    move(static_cast<int>(std::lround(b.left / tpp)), static_cast<int>(std::lround(b.top / tpp)));
    resize(std::max(1, static_cast<int>(std::lround(b.width / tpp)) - appliedFrame_.width()),
           std::max(1, static_cast<int>(std::lround(b.height / tpp)) - appliedFrame_.height()));
    switch (window_->state()) {
    case ui::WindowState::Minimized:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case ui::WindowState::Maximized:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    case ui::WindowState::Normal:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    }
    setEnabled(window_->enabled());
    if (!held_)
        setVisible(window_->visible());
    applying_ = false;
    adoptRealSize();
}

void WindowWidget::adoptRealSize()
{
    // A window is never smaller than what it holds: when its layout refused
    // the size asked for, the program must know the real one, or it centres
    // the window off the centre and saves a size it never had.
    if (!window_ || window_->state() != ui::WindowState::Normal ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    // The size it holds is known before it is first shown, hidden pages too.
    ensurePolished();
    if (layout())
        layout()->activate();
    const double tpp = twipsPerPixel_;
    const QSize outer = size() + frame();
    const auto& b = window_->bounds();
    if (outer.width() == static_cast<int>(std::lround(b.width / tpp)) &&
        outer.height() == static_cast<int>(std::lround(b.height / tpp)))
        return;
    window_->userChangedBounds(
        {b.left, b.top, static_cast<float>(outer.width() * tpp), static_cast<float>(outer.height() * tpp)});
}

void WindowWidget::releaseVisibility()
{
    if (!held_)
        return;
    held_ = false;
    windowChanged();
    // As a first show: a window restored minimised comes up in the task bar, not in front.
    if (window_ && window_->visible() && window_->state() != ui::WindowState::Minimized)
        bringToFront();
}

void WindowWidget::bringToFront()
{
    if (held_)
        return;
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void WindowWidget::reportBounds()
{
    if (applying_ || !window_ || !isVisible() || (windowState() & Qt::WindowMinimized))
        return;
    if (placeWithinFirstFrame())
        return;
    const double tpp = twipsPerPixel_;
    const QRect outer = frameGeometry();
    window_->userChangedBounds({static_cast<float>(outer.x() * tpp), static_cast<float>(outer.y() * tpp),
                                static_cast<float>(outer.width() * tpp), static_cast<float>(outer.height() * tpp)});
}

bool WindowWidget::placeWithinFirstFrame()
{
    // The first decoration makes the window larger than the program placed
    // it, and moves it by the title bar; placing it again within its frame
    // keeps a saved size from growing at every run and windows from overlapping.
    if (applying_ || !window_ || !isVisible() || !appliedFrame_.isEmpty() || frame().isEmpty() ||
        windowState() != Qt::WindowNoState)
        return false;
    windowChanged();
    return true;
}

bool WindowWidget::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Some windows learn their frame from no move or resize of their own.
    if (event->type() == QEvent::Expose || event->type() == QEvent::WindowActivate ||
        event->type() == QEvent::UpdateRequest)
        placeWithinFirstFrame();
    return handled;
}

void WindowWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    reportBounds();
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    reportBounds();
}

void WindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || applying_ || !window_)
        return;
    const auto state = windowState();
    window_->userChangedState(state & Qt::WindowMinimized   ? ui::WindowState::Minimized
                              : state & Qt::WindowMaximized ? ui::WindowState::Maximized
                                                            : ui::WindowState::Normal);
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The program decides: its windows hide, or close for real.
    event->ignore();
    if (window_)
        window_->requestClose();
}

} // namespace twk::qt
