#include "ClipboardMarks.h"
#include "ControlBinding.h"
#include "DisplayChoice.h"
#include "PanelClick.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "TextWindowWidget.h"
#include "Texts.h"
#include "WindowWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPushButton>
#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace twk;
using namespace std::string_literals;

// The conversions go a line at a time; these go a byte at a time, as plainly as can be.
std::string crLfByteByByte(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}

std::string lfByteByByte(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            result += text[i];
    return result;
}

TEST(QtTexts, AnyMixOfCrLfAndNulConvertsAsByteByByteAndIsRecognisedExactly)
{
    EXPECT_EQ(qt::fromQt(qt::toQt("caf\xC3\xA9")), "caf\xC3\xA9");
    std::mt19937 random(7);
    const std::string alphabet("ab\r\n\0\xC3\xA9", 7);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, ' ');
        for (auto& c : text)
            c = alphabet[random() % alphabet.size()];
        const auto converted = qt::withCrLf(text);
        ASSERT_EQ(converted, crLfByteByByte(text)) << round;
        ASSERT_EQ(qt::withLf(text), lfByteByByte(text)) << round;
        ASSERT_EQ(qt::withLfBytes(text).toStdString(), lfByteByByte(text)) << round;
        ASSERT_TRUE(qt::isWithCrLf(converted, text)) << round;
        if (converted.empty())
            continue;
        auto other = converted;
        other[random() % other.size()] ^= 1;
        EXPECT_FALSE(qt::isWithCrLf(other, text)) << round;
        EXPECT_FALSE(qt::isWithCrLf(converted.substr(0, converted.size() - 1), text)) << round;
        EXPECT_FALSE(qt::isWithCrLf(converted + "\n", text)) << round;
    }
}

TEST(QtDialogFilters, BecomeQtFiltersThatMatchEveryFileForStarDotStar)
{
    EXPECT_EQ(qt::qtFilters("Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*"),
              (QStringList{"Text Files (*.TXT)", "All Files (*)"}));
    EXPECT_TRUE(qt::qtFilters("").isEmpty());
    EXPECT_EQ(qt::qtFilters("Odd|").size(), 1);
    // Programs here have no ".EXE": the first filter shows the executable files.
    const auto programs = qt::qtFilters("Applications (*.EXE)|*.EXE|All Files (*.*)|*.*");
    EXPECT_EQ(programs, (QStringList{"Applications (*)", "All Files (*)"}));
    EXPECT_TRUE(qt::isProgramFilter(programs[0]));
    EXPECT_FALSE(qt::isProgramFilter(programs[1]));
}

TEST(QtDialogFilters, ANameInAMissingFolderOrAMissingFileThatMustExistIsRefused)
{
    const QString folder = QDir::tempPath();
    platform::OpenFileRequest append;
    append.pathMustExist = true;
    EXPECT_TRUE(qt::refusal(append, folder + QStringLiteral("/new.txt")).isEmpty());
    EXPECT_FALSE(qt::refusal(append, folder + QStringLiteral("/no-such-folder-twk/new.txt")).isEmpty());
    platform::OpenFileRequest viewer;
    viewer.fileMustExist = true;
    EXPECT_FALSE(qt::refusal(viewer, folder + QStringLiteral("/no-such-file-twk")).isEmpty());
}

TEST(QtDisplayChoice, AWaylandSessionRunsOnXWaylandUnlessTheUserChose)
{
    const auto session = [](std::map<std::string, std::string> variables) {
        return qt::ChosenQtPlatform([variables](const char* name) {
            const auto found = variables.find(name);
            return found == variables.end() ? std::string() : found->second;
        });
    };
    EXPECT_EQ(session({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}), "xcb");
    EXPECT_EQ(session({{"WAYLAND_DISPLAY", "wayland-0"}}), std::nullopt) << "no XWayland: Wayland it is";
    EXPECT_EQ(session({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
              std::nullopt);
    EXPECT_EQ(session({{"DISPLAY", ":0"}}), std::nullopt);
}

namespace {
Q_LOGGING_CATEGORY(qtTray, "qt.qpa.tray")
QStringList passedOn;
} // namespace

TEST(QtPanelClick, TheTrayItemsClickPlaceIsTakenOnceAndEveryOtherMessageStillShows)
{
    const QtMessageHandler before = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { passedOn << message; });
    qt::PanelClick::follow();
    qCDebug(qtTray) << 640 << -790; // Qt's item, told of a click
    qCDebug(qtTray) << "registered as" << 2;
    qCDebug(qtTray) << 120 << "vertical"; // a scroll
    EXPECT_EQ(qt::PanelClick::take(), QPoint(640, -790));
    EXPECT_EQ(qt::PanelClick::take(), std::nullopt) << "taken once";
    qWarning("a warning");
    qCDebug(qtTray) << 1 << 2 << 3;
    EXPECT_EQ(qt::PanelClick::take(), std::nullopt);
    EXPECT_EQ(passedOn, QStringList{QStringLiteral("a warning")});
    qInstallMessageHandler(before);
}

TEST(QtClipboardAdapter, GivesCrLfAndPutsBackTheOriginalUnchanged)
{
    qt::QtClipboard clipboard;
    QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree"));
    const auto text = clipboard.text();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "one\r\ntwo\r\nthree");
    clipboard.clear();
    clipboard.setText(*text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("one\ntwo\r\nthree"));
    clipboard.setText("new\r\ntext");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("new\ntext"));
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), "");
}

// What other programs get is the bytes Qt serves for "text/plain": put back unchanged,
// a text is the owner's to the byte, NULs and all; a changed one has LF line breaks;
// bytes that are no UTF-8 are mended as Qt mends them.
TEST(QtClipboardAdapter, PutsBackTheOwnersBytesExactlyAndMendsOnlyWhatIsNoUtf8)
{
    const auto served = [] {
        const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain"));
        return bytes.toStdString();
    };
    const auto offer = [](const std::string& bytes) {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/plain"), QByteArray::fromStdString(bytes));
        QGuiApplication::clipboard()->setMimeData(data);
    };
    qt::QtClipboard clipboard;
    const std::string original = "line\r\nlone\nbare\rdouble\r\r\nnul\0after\xC3\xA9\n"s;
    offer(original);
    const auto text = clipboard.text();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, crLfByteByByte(original));
    clipboard.clear();
    clipboard.setText(*text);
    EXPECT_EQ(served(), original);

    const std::string changed = "x\r\ny\0z\r"s;
    clipboard.setText(changed);
    EXPECT_EQ(served(), lfByteByByte(changed));

    const std::string broken("\xFF\xC3\r\nend");
    clipboard.setText(broken);
    EXPECT_EQ(served(), QString::fromLocal8Bit(lfByteByByte(broken)).toUtf8().toStdString());
}

TEST(QtClipboardMarks, SecretsAndCopiedFilesAreToldFromTheOfferedFormats)
{
    using platform::ClipboardMark;
    std::map<std::string, std::string> data;
    const auto read = [&data](const std::string& format) -> std::optional<std::string> {
        const auto found = data.find(format);
        return found == data.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    const auto mark = [&] {
        std::vector<std::string> formats{"UTF8_STRING", "text/html"};
        for (const auto& [format, value] : data)
            formats.push_back(format);
        return qt::markOf(formats, read);
    };
    EXPECT_EQ(mark(), ClipboardMark::none) << "rich text is still text";
    data["x-kde-passwordManagerHint"] = "secret\n";
    EXPECT_EQ(mark(), ClipboardMark::secret);
    data["x-kde-passwordManagerHint"] = "";
    EXPECT_EQ(mark(), ClipboardMark::none);
    data.clear();
    data["text/uri-list"] = "# copied\r\nhttp://example.org/\r\n";
    EXPECT_EQ(mark(), ClipboardMark::none) << "a browser's copied link";
    data["text/uri-list"] = "# copied\r\nfile:///home/a.txt\r\nFILE:///home/b.txt\r\n";
    EXPECT_EQ(mark(), ClipboardMark::fileList);
    data.clear();
    for (const char* format :
         {"x-special/gnome-copied-files", "x-special/mate-copied-files", "application/x-kde-cutselection"}) {
        data = {{format, "copy"}};
        EXPECT_EQ(mark(), ClipboardMark::fileList) << format;
    }
}

TEST(QtTextWindow, FollowsTheModelsWindowAndKeepsItsOuterSize)
{
    ui::Window window("Probe", {150, 300, 4500, 1500});
    ui::TextBox text;
    int button = 0;
    auto* widget =
        new qt::TextWindowWidget({window, text, QStringLiteral("&Cancel"), [&] { ++button; }, nullptr, 15, nullptr});
    window.show();
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->windowTitle(), QStringLiteral("Probe"));
    EXPECT_EQ(widget->size(), QSize(300, 100));

    // The program keeps outer sizes: frame included.
    widget->resize(400, 200);
    EXPECT_EQ(window.bounds().width, widget->frameGeometry().width() * 15.0F);
    EXPECT_EQ(window.bounds().height, widget->frameGeometry().height() * 15.0F);
    window.move({0, 0, 6000, 3000});
    EXPECT_EQ(widget->frameGeometry().size(), QSize(400, 200));

    widget->close(); // no close handler of its own: the model closes and the widget stays
    window.hide();
    EXPECT_FALSE(widget->isVisible());
    widget->detach();
    delete widget;
}

TEST(QtControls, FollowTheModelBothWaysUntilTheWindowIsDropped)
{
    ui::Window window("Probe", {0, 0, 3000, 3000});
    ui::CheckBox check("&Beep");
    ui::ListBox list({"General", "Links"});
    ui::Button button("&Save");
    int clicks = 0;
    int saves = 0;
    check.onClick = [&] { ++clicks; };
    button.onClick = [&] { ++saves; };
    {
        qt::WindowWidget owner(window, 15, nullptr);
        auto* box = new QCheckBox(&owner);
        auto* entries = new QListWidget(&owner);
        auto* push = new QPushButton(&owner);
        qt::bind(owner, *box, check);
        qt::bind(owner, *entries, list);
        qt::bind(owner, *push, button);
        EXPECT_EQ(box->text(), QStringLiteral("&Beep"));
        EXPECT_EQ(entries->count(), 2);

        box->setChecked(true);
        EXPECT_EQ(check.value(), 1);
        EXPECT_EQ(clicks, 1);
        check.setValue(0); // the model's change shows without coming back to it
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(clicks, 2);

        entries->setCurrentRow(1);
        EXPECT_EQ(list.selectedIndex(), 1);
        list.setItems({"One", "Two", "Three"});
        EXPECT_EQ(entries->count(), 3);
        EXPECT_EQ(entries->currentRow(), -1);

        button.setCaption("&Done");
        button.setEnabled(false);
        EXPECT_EQ(push->text(), QStringLiteral("&Done"));
        EXPECT_FALSE(push->isEnabled());
        button.setEnabled(true);
        push->click();
        EXPECT_EQ(saves, 1);

        owner.detach();
        push->click();
        box->setChecked(true);
        EXPECT_EQ(saves, 1);
        EXPECT_EQ(check.value(), 0);
    }
    // The widgets are gone; the model may still change.
    check.setValue(1);
    list.select(0);
    button.setCaption("&Again");
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
