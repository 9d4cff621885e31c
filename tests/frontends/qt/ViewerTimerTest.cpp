#include "QtWindowHost.h"
#include "TextWindowWidget.h"
#include "capture/FrmToText.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "shell/Program.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <utility>

using namespace twk;

namespace {

// The whole program on fake desktop parts, with the real viewer and its timer, whose
// toolkit takes startUpMs to be made when the viewer asks for it.
struct SlowStart {
    explicit SlowStart(int startUpMs)
    {
        environment.folder = folder.path();
        twk::testing::writeFile(folder.file("twk3.ini"),
                                "[TWK]\r\nFIRSTRUN=9\r\nON=1\r\nFREQUENCY=2\r\nSAVEDFILEPATH=" + folder.path() +
                                    "/\r\n");
        clipboard.copy("copied before the start");
        host.needsToolkit = [this, startUpMs] {
            if (std::exchange(made, true))
                return;
            QThread::msleep(static_cast<unsigned long>(startUpMs));
        };
        program.start();
    }
    ~SlowStart()
    {
        program.closeMainWindow();
        QApplication::processEvents();
    }

    QTimer* pollingTimer() const
    {
        for (auto* widget : QApplication::topLevelWidgets())
            // Earlier programs' windows may wait for the event loop to delete them.
            if (auto* text = qobject_cast<qt::TextWindowWidget*>(widget); text && text->attached())
                for (auto* timer : text->findChildren<QTimer*>())
                    if (timer->timerType() == Qt::PreciseTimer)
                        return timer;
        return nullptr;
    }
    bool captured() const { return program.frmToText->txtTMP.text() == "copied before the start"; }
    void waitForTheFirstTick() const
    {
        for (QDeadlineTimer generous(10000); !captured() && !generous.hasExpired();)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    bool made = false;
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
    qt::QtWindowHost host{15};
    shell::Program program{platform, host};
};

TEST(QtViewerTimer, TheFirstTickCountsFromTheViewersLoadingNotFromTheToolkitsStartUp)
{
    // Part of the first interval went on making the toolkit: only the rest is left.
    {
        SlowStart start(30);
        QTimer* timer = start.pollingTimer();
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isActive());
        EXPECT_LE(timer->remainingTime(), capture::kFirstTickMs - 30);
        start.waitForTheFirstTick();
        ASSERT_TRUE(start.captured());
        // The shortened first interval is not kept: the ticks go on as Frequency says.
        EXPECT_EQ(timer->interval(), 2000);
        EXPECT_EQ(start.program.frmToText->Timer1.interval(), 2000);
    }
    // A start-up longer than the interval: the tick is due at once, not an interval later.
    {
        SlowStart start(capture::kFirstTickMs + 20);
        QTimer* timer = start.pollingTimer();
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->remainingTime(), 0);
        start.waitForTheFirstTick();
        EXPECT_TRUE(start.captured());
    }
}

} // namespace
