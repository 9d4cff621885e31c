#include "TextWindowWidget.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace twk;

namespace {

std::string lines(int count, const std::string& tag)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? "\r\n" : "") + tag + " line " + std::to_string(i) + " of some length to fill the window";
    return text;
}

struct Change {
    int position, removed, added;
};

// A viewer on a model text box, and every change its document reports.
class ShownTextWindow {
public:
    explicit ShownTextWindow(std::size_t limit = ui::kShownTextLimit)
        : widget_(new qt::TextWindowWidget(
              {window, text, QStringLiteral("&Cancel"), nullptr, nullptr, 15, nullptr, limit})),
          edit(widget_->findChild<QPlainTextEdit*>())
    {
        window.show();
        QObject::connect(edit->document(), &QTextDocument::contentsChange, [this](int at, int removed, int added) {
            changes.push_back({at, removed, added});
        });
    }
    ~ShownTextWindow() { widget_->detach(); }

    int shownLength() const { return edit->document()->characterCount() - 1; }

    ui::Window window{"Viewer", {0, 0, 6000, 3000}};
    ui::TextBox text;

private:
    std::unique_ptr<qt::TextWindowWidget> widget_;

public:
    QPlainTextEdit* edit;
    std::vector<Change> changes;
};

} // namespace

TEST(QtTextWindowGrowth, AnAppendAddsToTheEndInsteadOfShowingTheWholeTextAgain)
{
    ShownTextWindow viewer;
    viewer.text.setText(lines(2000, "old"));
    const int before = viewer.shownLength();
    const int blocks = viewer.edit->document()->blockCount();
    viewer.changes.clear();

    viewer.text.append("\r\nnew\r\ntext");
    viewer.window.move({0, 0, 7000, 4000}); // a resize shows nothing anew
    ASSERT_FALSE(viewer.changes.empty());
    for (const auto& change : viewer.changes) {
        EXPECT_GE(change.position, before) << "the text was shown anew from " << change.position;
        EXPECT_EQ(change.removed, 0);
    }
    EXPECT_EQ(viewer.edit->document()->blockCount(), blocks + 2);
    EXPECT_TRUE(
        viewer.edit->toPlainText().endsWith(QStringLiteral("line 1999 of some length to fill the window\nnew\ntext")));
    EXPECT_EQ(viewer.edit->textCursor().position(), viewer.shownLength()); // scrolled to the newest

    // The user's own typing still reaches the model, CR LF and all.
    viewer.edit->setPlainText(QStringLiteral("typed\nover"));
    EXPECT_EQ(viewer.text.text(), "typed\r\nover");
    viewer.text.append("\r\nmore");
    EXPECT_EQ(viewer.edit->toPlainText(), QStringLiteral("typed\nover\nmore"));
    viewer.edit->undo(); // undoes the user's typing at most, never the program's text
    EXPECT_EQ(viewer.text.text(), "typed\r\nover\r\nmore");
}

TEST(QtTextWindowGrowth, AJoinThatWouldSplitALineBreakShowsTheWholeTextAgain)
{
    ShownTextWindow viewer;
    viewer.text.setText("ends with\r");
    viewer.text.append("\nnext");
    EXPECT_EQ(viewer.edit->toPlainText(), QStringLiteral("ends with\nnext"));
    viewer.text.setText("caf\xC3");
    viewer.text.append("\xA9 open");
    EXPECT_EQ(viewer.edit->toPlainText(), QStringLiteral("caf\u00E9 open"));
}

TEST(QtTextWindowGrowth, ATextPastTheLimitShowsItsEndReadOnlyAndStaysBoundedAsItGrows)
{
    const std::size_t limit = 2000;
    ShownTextWindow viewer(limit);
    viewer.text.setText(lines(500, "big"));
    EXPECT_TRUE(viewer.edit->isReadOnly());
    EXPECT_TRUE(viewer.edit->document()->firstBlock().text().startsWith(QStringLiteral("[The first ")));
    EXPECT_TRUE(viewer.edit->toPlainText().endsWith(QStringLiteral("big line 499 of some length to fill the window")));
    // The shown part starts with a whole line.
    EXPECT_TRUE(viewer.edit->document()->firstBlock().next().text().startsWith(QStringLiteral("big line ")));
    const int cap = static_cast<int>(2 * limit) + 200; // the notice included

    for (int i = 0; i < 100; ++i) {
        viewer.text.append("\r\nappended " + std::to_string(i));
        ASSERT_LE(viewer.shownLength(), cap);
    }
    EXPECT_TRUE(viewer.edit->toPlainText().endsWith(QStringLiteral("\nappended 99")));
    EXPECT_TRUE(viewer.edit->document()->firstBlock().text().startsWith(QStringLiteral("[The first ")));

    // What is shown of a cut text never goes back into the model.
    const std::string whole = viewer.text.text();
    viewer.edit->setPlainText(QStringLiteral("not the text"));
    EXPECT_EQ(viewer.text.text(), whole);

    viewer.text.setText("short again");
    EXPECT_FALSE(viewer.edit->isReadOnly());
    EXPECT_EQ(viewer.edit->toPlainText(), QStringLiteral("short again"));
}
