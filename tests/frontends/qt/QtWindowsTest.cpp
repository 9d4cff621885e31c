#include "BrowserWidget.h"
#include "OptionsWidget.h"
#include "QtWindowHost.h"
#include "WindowWidget.h"
#include "capture/FrmToText.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "shell/Form1.h"
#include "shell/Program.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace twk;

namespace {

constexpr double kTwipsPerPixel = 15; // as the fake environment says

// Every real window shown or hidden by the program, in order.
class ShowsAndHides : public QObject {
public:
    ShowsAndHides() { qApp->installEventFilter(this); }
    std::vector<std::string> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<qt::WindowWidget*>(watched);
        if (widget && !event->spontaneous() && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
            seen.push_back(widget->windowTitle().toStdString() + (event->type() == QEvent::Show ? " +" : " -"));
        return false;
    }
};

// The whole program on fake desktop parts, drawn with the real windows.
class QtWindowsTest : public ::testing::Test {
protected:
    explicit QtWindowsTest(const std::string& settings = "", bool holdWindows = false)
    {
        environment.folder = folder.path();
        dialogs.onMessage = [] {};
        folders.tree[folder.path()] = {"logs", "old"};
        folders.tree[folder.path() + "/logs"] = {};
        twk::testing::writeFile(folder.file("twk3.ini"),
                                "[TWK]\r\nFIRSTRUN=9\r\nSAVEDFILEPATH=" + folder.path() + "/\r\n" + settings);
        if (holdWindows)
            host.hold();
        program.start();
    }
    ~QtWindowsTest() override
    {
        program.closeMainWindow();
        QApplication::processEvents();
    }

    template <typename W> W* shown()
    {
        QApplication::processEvents();
        for (auto* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(widget); found && found->isVisible())
                return found;
        return nullptr;
    }
    configuration::FrmOptions& openOptions()
    {
        program.form1->mnuOptions_Click();
        return *program.frmOptions;
    }

    ShowsAndHides shows;
    twk::testing::TempFolder folder;
    twk::testing::FakeClipboard clipboard;
    twk::testing::FakeDialogs dialogs;
    twk::testing::FakeEnvironment environment;
    twk::testing::FaultyFileSystem files;
    twk::testing::FakeFolders folders;
    twk::testing::FakeInstances instances;
    twk::testing::FakeShell shell;
    twk::testing::FakeTray tray;
    twk::testing::FakeAutostart autostart;
    platform::Platform platform{clipboard, dialogs, environment, files, folders, instances, shell, tray, autostart};
    qt::QtWindowHost host{kTwipsPerPixel};
    shell::Program program{platform, host};
};

TEST_F(QtWindowsTest, TheOptionsWindowKeepsOneSizeAndListWidthOnEveryPageAndOpensCentred)
{
    auto& options = openOptions();
    auto* widget = shown<qt::OptionsWidget>();
    QApplication::processEvents();
    ASSERT_NE(widget, nullptr);
    auto* list = widget->findChild<QListWidget*>();
    const QSize size = widget->size();
    const int listWidth = list->width();
    for (const int page : {2, 1, 0, 2, 0, 1}) {
        options.List1.select(page);
        QApplication::processEvents();
        EXPECT_EQ(widget->size(), size) << "page " << page;
        EXPECT_EQ(list->width(), listWidth) << "page " << page;
    }
    // Centred by the size it really has.
    const auto& b = options.bounds();
    EXPECT_EQ(b.height, widget->frameGeometry().height() * kTwipsPerPixel);
    // Within half the window frame, which is known only once it is shown.
    const float halfFrame = static_cast<float>(widget->frameGeometry().height() - widget->height()) / 2;
    EXPECT_NEAR(b.top + b.height / 2, environment.screenHeight / 2, (halfFrame + 1) * kTwipsPerPixel);
    EXPECT_NEAR(b.left + b.width / 2, environment.screenWidth / 2, (halfFrame + 1) * kTwipsPerPixel);
}

TEST_F(QtWindowsTest, TheBrowserOpensListingTheProgramFolderWithItsPathAndKnowsItsRealWidth)
{
    openOptions().Command1_Click();
    auto* widget = shown<qt::BrowserWidget>();
    ASSERT_NE(widget, nullptr);
    auto* list = widget->findChild<QListWidget*>();
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    EXPECT_EQ(names, (QStringList{QStringLiteral(".."), QStringLiteral("logs"), QStringLiteral("old")}));
    auto* path = widget->findChild<QLineEdit*>();
    EXPECT_TRUE(path->isVisible());
    EXPECT_EQ(path->text().toStdString(), folder.path() + "/");
    EXPECT_EQ(program.frmFileBrowser->bounds().width, widget->frameGeometry().width() * kTwipsPerPixel);
}

TEST_F(QtWindowsTest, EscInTheOpenDriveListClosesOnlyTheList)
{
    openOptions().Command1_Click();
    auto* widget = shown<qt::BrowserWidget>();
    ASSERT_NE(widget, nullptr);
    widget->activateWindow();
    QPointer<QComboBox> drives = widget->findChild<QComboBox*>();
    drives->showPopup();
    QApplication::processEvents();
    ASSERT_TRUE(drives->view()->isVisible());
    QTest::keyClick(drives->view(), Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_TRUE(program.frmFileBrowser.loaded()) << "the browser stays open";
    ASSERT_TRUE(drives);
    EXPECT_FALSE(drives->view()->isVisible());
    QTest::keyClick(widget, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(program.frmFileBrowser.loaded()) << "Esc in the window itself still cancels";
}

// The start as the program makes it: the viewers shown and hidden again as the settings say,
// then, from the event loop, the viewer shown where no tray was found, then the real windows.
// A window mapped, unmapped and mapped again at once may stay unmapped.
struct StartCase {
    std::string name;
    std::string settings;
    bool trayFound;
    std::vector<std::string> shows;
};

class QtStartTest : public QtWindowsTest, public ::testing::WithParamInterface<StartCase> {
protected:
    QtStartTest() : QtWindowsTest(GetParam().settings, true) {}
};

TEST_P(QtStartTest, EachWindowIsShownOnceOrNotAtAll)
{
    QApplication::processEvents();
    EXPECT_TRUE(shows.seen.empty());
    if (!GetParam().trayFound)
        program.frmToText->show();
    host.showHeld();
    QApplication::processEvents();
    std::sort(shows.seen.begin(), shows.seen.end());
    EXPECT_EQ(shows.seen, GetParam().shows);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, QtStartTest,
    ::testing::Values(StartCase{"NoTrayTheViewerAlone", "AUTOOOPENVIEWERS=0\r\n", false, {"Recent Clipboard Text +"}},
                      StartCase{"TrayAndViewersClosedNothing", "AUTOOOPENVIEWERS=0\r\n", true, {}},
                      StartCase{"TrayAndViewersOpenBoth",
                                "AUTOOOPENVIEWERS=1\r\n",
                                true,
                                {"Link Catcher +", "Recent Clipboard Text +"}}),
    [](const ::testing::TestParamInfo<StartCase>& started) { return started.param.name; });

} // namespace
