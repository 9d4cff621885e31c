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
    // A NUL would cut a word short and start another program.
    const auto hasNul = [](const std::string& word) { return word.find('\0') != std::string::npos; };
    if (start.program.empty() || hasNul(start.program))
        return false;
    QStringList arguments;
    for (const auto& argument : start.arguments) {
        if (hasNul(argument))
            return false;
        arguments << toQt(argument);
    }
    // The words go to the system as they are: no command interpreter sees
    // them, so no character in a path can run anything.
    return QProcess::startDetached(toQt(start.program), arguments);
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
