#include "AboutWidget.h"

#include "ControlBinding.h"
#include "about/FrmAbout.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace twk::qt {

AboutWidget::AboutWidget(about::FrmAbout& a, double twipsPerPixel, std::function<void()> onHelp)
    : WindowWidget(a, twipsPerPixel, std::move(onHelp)), about_(a), link_(new QLabel)
{
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    grey.setColor(QPalette::WindowText, Qt::black);
    setPalette(grey);

    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(36, 36));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon, 0, 0, 3, 1);
    int row = 0;
    for (auto* control : {&a.lblTitle, &a.lblVersion, &a.lblDescription}) {
        auto* label = new QLabel;
        label->setWordWrap(true);
        bindLook(*label, *control);
        layout->addWidget(label, row++, 1, 1, 2);
    }
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule, row++, 0, 1, 3);
    auto* disclaimer = new QLabel;
    disclaimer->setWordWrap(true);
    bindLook(*disclaimer, a.lblDisclaimer);
    layout->addWidget(disclaimer, row, 0, 2, 2);
    auto* help = new QPushButton;
    auto* ok = new QPushButton;
    bind(*this, *help, a.Command1);
    bind(*this, *ok, a.cmdOK);
    ok->setDefault(true);
    layout->addWidget(help, row++, 2);
    layout->addWidget(ok, row++, 2);
    auto* link = static_cast<QLabel*>(link_);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setCursor(Qt::PointingHandCursor);
    bindLook(*link, a.Text1);
    link->installEventFilter(this);
    layout->addWidget(link, row, 0, 1, 3);

    // OK is both the default and the cancel button: Enter and Esc close.
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, ok, &QPushButton::click);
    }
    windowChanged();
}

bool AboutWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease)
        whenAttached([this] { about_.Text1_Click(); });
    return WindowWidget::eventFilter(watched, event);
}

} // namespace twk::qt
