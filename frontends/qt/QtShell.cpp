#include "QtShell.h"

#include "Texts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace twk::qt {

bool QtShell::start(const platform::ProgramStart& start)
{
    // A NUL would cut the name short and start another program.
    if (start.program.find('\0') != std::string::npos || start.argument.find('\0') != std::string::npos)
        return false;
    // The program and its one argument go to the system as they are: no
    // command interpreter sees them, so no character in a path can run anything.
    return QProcess::startDetached(toQt(start.program), {toQt(start.argument)});
}

void QtShell::openWithDefaultHandler(const std::string& target)
{
    const QString text = toQt(target).trimmed();
    if (text.isEmpty())
        return;
    const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void QtShell::beep()
{
    QApplication::beep();
}

} // namespace twk::qt
