#include "EndRequests.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "QtEnvironment.h"
#include "QtInstances.h"
#include "QtShell.h"
#include "QtTray.h"
#include "QtWindowHost.h"
#include "about/Help.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolders.h"
#include "shell/Form1.h"
#include "shell/Program.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

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
    if (!hasDisplay()) {
        std::fputs("twk3: no graphical display: set DISPLAY or WAYLAND_DISPLAY (or run it inside a desktop "
                   "session)\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // The icon lives in a static library: nothing else would pull it into the program.
    Q_INIT_RESOURCE(resources);
    QApplication::setQuitOnLastWindowClosed(false);
    const QIcon icon(QStringLiteral(":/twk3.xpm"));
    QApplication::setWindowIcon(icon);

    using namespace twk;
    qt::QtEnvironment environment(QApplication::arguments());
    qt::QtClipboard clipboard;
    qt::QtDialogs dialogs;
    platform::PosixFileSystem files;
    platform::PosixFolders folders;
    qt::QtInstances instances(QApplication::applicationFilePath(), QString::fromLatin1(shell::kApplicationWindowClass),
                              QString::fromLatin1(shell::kApplicationTitle));
    qt::QtShell desktopShell;
    qt::QtTray tray(icon);
    platform::Platform platform{clipboard, dialogs, environment, files, folders, instances, desktopShell, tray};

    qt::QtWindowHost host(environment.twipsPerPixelX());
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

    program.start();
    if (program.ended())
        return 0;
    // Ended by the system: the same orderly shutdown as the tray's "Exit".
    qt::EndRequests endRequests([&program] {
        if (!program.ended())
            program.closeMainWindow();
    });
    return QApplication::exec();
}
