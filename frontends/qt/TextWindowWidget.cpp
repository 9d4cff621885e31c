#include "TextWindowWidget.h"

#include "Texts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

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
    : WindowWidget(binding.window, binding.twipsPerPixel, binding.onHelp), text_(&binding.text),
      binding_(std::move(binding)), edit_(new LinkTextEdit(this)),
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
    refreshText();
    windowChanged();
}

TextWindowWidget::~TextWindowWidget()
{
    detach();
}

void TextWindowWidget::detach()
{
    WindowWidget::detach();
    if (text_)
        text_->onDisplay = nullptr;
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

} // namespace twk::qt
