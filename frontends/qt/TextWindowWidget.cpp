#include "TextWindowWidget.h"

#include "Texts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

namespace twk::qt {

void LinkTextEdit::focusInEvent(QFocusEvent* event)
{
    // A window shown and hidden again at once may still be made active after it
    // is gone: its cursor would then blink unseen twice a second, waking an idle
    // program. It gets the focus for real when it is shown.
    if (!window()->isVisible())
        return;
    QPlainTextEdit::focusInEvent(event);
}

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
        if (!applying_)
            takeUsersText();
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
    text_->onAppended = [this](std::string_view added) { showAppended(added); };
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
    if (text_) {
        text_->onDisplay = nullptr;
        text_->onAppended = nullptr;
    }
    text_ = nullptr;
    binding_.onButton = nullptr;
    binding_.onDoubleClick = nullptr;
    edit_->onDoubleClick = nullptr;
}

void TextWindowWidget::refreshText()
{
    // Also called for moves and resizes: the text is shown anew only when it changed.
    if (!text_ || takingUsersText_ || shownRevision_ == text_->revision())
        return;
    const std::string& whole = text_->text();
    const std::size_t from = ui::shownFrom(whole, binding_.shownLimit);
    QString shown = toQt(withLf(whole.substr(from)));
    if (from > 0)
        shown.prepend(toQt(ui::leftOutNotice(from)) + QLatin1Char('\n'));
    applying_ = true;
    // What the user sees of a text cut short is no text to edit.
    edit_->setReadOnly(from > 0);
    edit_->setPlainText(shown);
    edit_->moveCursor(QTextCursor::End);
    applying_ = false;
    leftOutBytes_ = from;
    shownBytes_ = whole.size() - from;
    shownRevision_ = text_->revision();
}

void TextWindowWidget::showAppended(std::string_view added)
{
    if (!text_)
        return;
    const std::size_t shownAfter = shownBytes_ + added.size();
    const bool inStep = shownRevision_ + 1 == text_->revision();
    // A whole text that outgrows the limit is cut short once; a cut one is cut
    // again each time it has doubled, so its cost stays bounded.
    const bool cut = leftOutBytes_ == 0 ? shownAfter > binding_.shownLimit : shownAfter > 2 * binding_.shownLimit;
    if (!inStep || cut || !ui::convertsOnItsOwn(text_->text(), added)) {
        refreshText();
        return;
    }
    applying_ = true;
    QTextCursor end(edit_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(toQt(withLf(std::string(added))));
    // Undo is for the user's own typing, as after a text shown anew.
    edit_->document()->clearUndoRedoStacks();
    edit_->moveCursor(QTextCursor::End);
    applying_ = false;
    shownBytes_ = shownAfter;
    shownRevision_ = text_->revision();
}

void TextWindowWidget::takeUsersText()
{
    if (!text_ || leftOutBytes_ > 0)
        return;
    takingUsersText_ = true;
    text_->setText(withCrLf(fromQt(edit_->toPlainText())));
    takingUsersText_ = false;
    shownBytes_ = text_->text().size();
    shownRevision_ = text_->revision();
}

} // namespace twk::qt
