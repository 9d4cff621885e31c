#pragma once

#include "WindowWidget.h"
#include "ui/ShownText.h"
#include "ui/TextBox.h"

#include <QPlainTextEdit>

#include <functional>

class QPushButton;

namespace twk::qt {

// A text box that reports double-clicks after it has selected what was
// clicked: the whole run of non-blank characters, so a link is taken whole.
class LinkTextEdit final : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void(const QString& selected)> onDoubleClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

// A window of the program that is one text filling the window and a button
// that hides it: the viewer and the link catcher. Text added at the end is
// added to the widget, not shown anew; a text past the shown limit is shown
// from near its end, read-only, under a line that says so.
class TextWindowWidget final : public WindowWidget {
    Q_OBJECT
public:
    struct Binding {
        ui::Window& window;
        ui::TextBox& text;
        QString buttonCaption;
        std::function<void()> onButton;      // the button and Esc
        std::function<void()> onDoubleClick; // after the text's selection is set
        double twipsPerPixel = 15;
        std::function<void()> onHelp;
        std::size_t shownLimit = ui::kShownTextLimit;
    };

    explicit TextWindowWidget(Binding binding);
    ~TextWindowWidget() override;

    void detach() override;

private:
    void refreshText();
    void showAppended(std::string_view added);
    void takeUsersText();

    ui::TextBox* text_;
    unsigned long shownRevision_ = 0;
    std::size_t shownBytes_ = 0;   // of the model's text, from its end
    std::size_t leftOutBytes_ = 0; // of the model's text, from its start
    bool takingUsersText_ = false;
    Binding binding_;
    LinkTextEdit* edit_;
    QPushButton* button_;
};

} // namespace twk::qt
