#include "TextWindowWidget.h"

#include "Texts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

#include <cmath>

namespace twk::qt {

void LinkTextEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    QTextCursor cursor = textCursor();
    const QString line = cursor.block().text();
    const int at = cursor.positionInBlock();
    int begin = std::min(at, static_cast<int>(line.size()));
    int end = begin;
    while (begin > 0 && !line[begin - 1].isSpace())
        --begin;
    while (end < line.size() && !line[end].isSpace())
        ++end;
    if (end > begin) {
        const int blockStart = cursor.block().position();
        cursor.setPosition(blockStart + begin);
        cursor.setPosition(blockStart + end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    if (onDoubleClick)
        onDoubleClick(textCursor().selectedText());
}

TextWindowWidget::TextWindowWidget(Binding binding)
    : window_(&binding.window), text_(&binding.text), binding_(std::move(binding)), edit_(new LinkTextEdit(this)),
      button_(new QPushButton(binding_.buttonCaption, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->addStretch(1);
    buttons->addWidget(button_);
    layout->addLayout(buttons);

    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(button_, &QPushButton::clicked, this, [this] {
        if (binding_.onButton)
            binding_.onButton();
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, button_, &QPushButton::click);
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
        if (applying_ || !text_)
            return;
        text_->setText(withCrLf(fromQt(edit_->toPlainText())));
    });
    if (binding_.onDoubleClick) {
        edit_->viewport()->setCursor(Qt::PointingHandCursor);
        edit_->onDoubleClick = [this](const QString& selected) {
            if (!text_)
                return;
            // Qt marks line ends inside a selection with U+2029.
            QString plain = selected;
            plain.replace(QChar(0x2029), QLatin1Char('\n'));
            text_->selectedText = fromQt(plain);
            binding_.onDoubleClick();
        };
    }
    text_->onDisplay = [this] { refreshText(); };
    window_->attach(this);
    refreshText();
    windowChanged();
}

TextWindowWidget::~TextWindowWidget()
{
    detach();
}

void TextWindowWidget::detach()
{
    if (window_)
        window_->attach(nullptr);
    if (text_)
        text_->onDisplay = nullptr;
    window_ = nullptr;
    text_ = nullptr;
    binding_.onButton = nullptr;
    binding_.onDoubleClick = nullptr;
    edit_->onDoubleClick = nullptr;
}

void TextWindowWidget::refreshText()
{
    if (!text_)
        return;
    const std::string shown = withLf(text_->text());
    if (fromQt(edit_->toPlainText()) == shown)
        return;
    applying_ = true;
    edit_->setPlainText(toQt(shown));
    edit_->moveCursor(QTextCursor::End);
    applying_ = false;
}

void TextWindowWidget::windowChanged()
{
    if (!window_)
        return;
    applying_ = true;
    setWindowTitle(toQt(window_->caption()));
    const auto& b = window_->bounds();
    const double tpp = binding_.twipsPerPixel;
    // The program's sizes are outer sizes, frame and title bar included.
    const QSize frame = frameGeometry().size() - geometry().size();
    move(static_cast<int>(std::lround(b.left / tpp)), static_cast<int>(std::lround(b.top / tpp)));
    resize(std::max(1, static_cast<int>(std::lround(b.width / tpp)) - frame.width()),
           std::max(1, static_cast<int>(std::lround(b.height / tpp)) - frame.height()));
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
    setVisible(window_->visible());
    applying_ = false;
}

void TextWindowWidget::bringToFront()
{
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TextWindowWidget::reportBounds()
{
    if (applying_ || !window_ || !isVisible() || (windowState() & Qt::WindowMinimized))
        return;
    const double tpp = binding_.twipsPerPixel;
    const QRect outer = frameGeometry();
    window_->userChangedBounds({static_cast<float>(outer.x() * tpp), static_cast<float>(outer.y() * tpp),
                                static_cast<float>(outer.width() * tpp), static_cast<float>(outer.height() * tpp)});
}

void TextWindowWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    reportBounds();
}

void TextWindowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    reportBounds();
}

void TextWindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || applying_ || !window_)
        return;
    const auto state = windowState();
    window_->userChangedState(state & Qt::WindowMinimized   ? ui::WindowState::Minimized
                              : state & Qt::WindowMaximized ? ui::WindowState::Maximized
                                                            : ui::WindowState::Normal);
}

void TextWindowWidget::closeEvent(QCloseEvent* event)
{
    // The program decides: its windows hide, or close for real at shutdown.
    event->ignore();
    if (window_)
        window_->requestClose();
}

} // namespace twk::qt
