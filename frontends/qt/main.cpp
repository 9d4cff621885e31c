#include "ClipboardKeeper.h"
#include "DisplayChoice.h"
#include "EndRequests.h"
#include "FontConfigWarmUp.h"
#include "MenuWithoutTray.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "QtEnvironment.h"
#include "QtInstances.h"
#include "QtShell.h"
#include "QtTray.h"
#include "QtWindowHost.h"
#include "Texts.h"
#include "Toolkit.h"
#include "about/CommandLine.h"
#include "about/Help.h"
#include "capture/FrmToText.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolders.h"
#include "platform/posix/XdgAutostart.h"
#include "platform/posix/XdgFolders.h"
#include "shell/Form1.h"
#include "shell/Program.h"
#include "wayland/WaylandClipboard.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>

namespace {

bool hasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // A copied text of many megabytes passes through a few buffers and is let go:
    // given back to the system at once, instead of kept in the heap for later,
    // where an idle program would carry it (and every wakeup cost more).
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    // "--version" and "--help" answer before anything is looked at: no INI, no other copy.
    std::string argumentString;
    for (int i = 1; i < argc; ++i)
        argumentString += (i > 1 ? " " : "") + std::string(argv[i]);
    if (const auto answer = twk::about::CommandLineAnswer(argumentString)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    if (!hasDisplay()) {
        std::fputs("twk3: no graphical display: set DISPLAY or WAYLAND_DISPLAY (or run it inside a desktop "
                   "session)\n",
                   stderr);
        return 2;
    }
    const auto environmentVariable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    const twk::qt::FontConfigWarmUp fonts;
    if (const auto platformName = twk::qt::ChosenQtPlatform(environmentVariable))
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platformName));

    using namespace twk;
    // The program's start-up runs up to the viewer's polling timer without the toolkit:
    // whatever needs it first makes it (in a hit-and-run start, loading the viewer).
    qt::Toolkit toolkit(argc, argv);
    const auto makeToolkit = [&toolkit] { toolkit.make(); };
    // Where the program file is, as Qt would say it (its link in /proc followed).
    const QString programPath = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString programFolder = QFileInfo(programPath).path();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    qt::QtEnvironment environment(arguments, programFolder, makeToolkit);
    // On a Wayland session whose compositor lets a program follow the clipboard, that
    // is the clipboard's route; otherwise it goes through Qt (X11, XWayland included).
    auto waylandClipboard = wayland::WaylandClipboard::connect();
    std::unique_ptr<qt::QtClipboard> qtClipboard;
    if (!waylandClipboard)
        qtClipboard = std::make_unique<qt::QtClipboard>();
    platform::Clipboard& clipboard = waylandClipboard ? static_cast<platform::Clipboard&>(*waylandClipboard)
                                                      : static_cast<platform::Clipboard&>(*qtClipboard);
    if (!environmentVariable("WAYLAND_DISPLAY").empty()) {
        if (waylandClipboard)
            std::fprintf(stderr, "twk3: clipboard through Wayland (%s)\n", waylandClipboard->protocolName());
        else
            std::fputs("twk3: clipboard through XWayland (the compositor offers no data-control)\n", stderr);
    }
    qt::QtDialogs dialogs(makeToolkit);
    platform::PosixFileSystem files;
    platform::PosixFolders folders;
    qt::QtInstances instances(programPath, QString::fromLatin1(shell::kApplicationWindowClass),
                              QString::fromLatin1(shell::kApplicationTitle));
    qt::QtShell desktopShell;
    qt::QtTray tray;
    if (!environmentVariable("WAYLAND_DISPLAY").empty())
        tray.openAtPanelClicks();
    platform::XdgAutostart autostart(files, platform::XdgConfigHome([&environment](const char* name) {
                                                return environment.variable(name);
                                            }).value_or(std::string()),
                                     qt::fromQt(programPath));
    platform::Platform platform{clipboard, dialogs,      environment, files,    folders,
                                instances, desktopShell, tray,        autostart};
    toolkit.whenMade([&waylandClipboard, &qtClipboard, &tray] {
        // The clipboard first: its fetch runs beside the rest.
        if (waylandClipboard)
            waylandClipboard->attach();
        else
            qtClipboard->attach();
        // The icon lives in a static library: nothing else would pull it into the program.
        Q_INIT_RESOURCE(resources);
        QApplication::setQuitOnLastWindowClosed(false);
        // The format named: otherwise every image plugin is loaded to guess it.
        const QIcon icon(QPixmap(QStringLiteral(":/twk3.xpm"), "XPM"));
        QApplication::setWindowIcon(icon);
        tray.setImage(icon);
    });

    qt::QtWindowHost host([&environment] { return environment.twipsPerPixelX(); });
    host.needsToolkit = makeToolkit;
    shell::Program program(platform, host);
    host.onProgramEnded = [&instances] {
        instances.programEnded();
        QCoreApplication::quit();
    };
    host.onHelp = [&program] { about::ShowHelp(program); };
    instances.onBringForward = [&host] { host.bringForward(); };
    tray.onNotification = [&program, &environment](int eventCode) {
        if (auto* form1 = program.form1.get())
            form1->pichook_MouseMove(static_cast<float>(eventCode * environment.twipsPerPixelX()));
    };
    qt::ClipboardKeeper keeper(
        programFolder + (waylandClipboard ? QStringLiteral("/twk3-keeper-wayland") : QStringLiteral("/twk3-keeper")));
    // Whether the viewer is shown for want of a tray is known only from the event loop.
    host.hold();
    program.start();
    if (program.ended())
        return 0;
    toolkit.make();
    // Started for one capture: the keeper starts beside it, not after it, and the tray
    // icon waits until the first tick is past.
    if (program.Settings.HitAndRun != 0) {
        keeper.startEarly();
        tray.holdFor(capture::kFirstTickMs);
    }
    // Ended by the system: the same orderly shutdown as the tray's "Exit".
    qt::EndRequests endRequests([&program] {
        if (!program.ended())
            program.closeMainWindow();
    });

    // Without a tray the menu opens from the viewer, shown for that, and the
    // user is told so once; the box waits aside while capturing goes on. Asked
    // from the event loop, as the icon is shown from there.
    std::unique_ptr<qt::MenuWithoutTray> menuWithoutTray;
    QTimer::singleShot(0, qApp, [&menuWithoutTray, &tray, &program, &host] {
        if (QSystemTrayIcon::isSystemTrayAvailable() || program.ended()) {
            host.showHeld();
            return;
        }
        menuWithoutTray = std::make_unique<qt::MenuWithoutTray>([&tray] {
            if (tray.onNotification)
                tray.onNotification(shell::kTrayRightButtonUp);
        });
        if (program.frmToText.loaded())
            program.frmToText->show();
        host.showHeld();
        auto* hint = new QMessageBox(QMessageBox::Information, qt::toQt(program.ApplicationTitle),
                                     qt::MenuWithoutTray::hint(), QMessageBox::Ok);
        hint->setAttribute(Qt::WA_DeleteOnClose);
        hint->setModal(false);
        hint->show();
    });
    const int result = QApplication::exec();
    // Every end comes through here: what we left on the clipboard must outlive us.
    if (const auto text = waylandClipboard ? waylandClipboard->ownText() : qtClipboard->ownText())
        keeper.keep(*text);
    // Nothing is left that unwinding would save: every file is written and synced,
    // the lock and the socket are gone, the text is handed over. Tearing down Qt
    // and its libraries only makes a hit-and-run start end later.
    instances.programEnded();
    std::fflush(nullptr);
    std::_Exit(result);
}
