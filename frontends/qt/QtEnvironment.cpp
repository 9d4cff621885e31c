#include "QtEnvironment.h"

#include "Texts.h"
#include "platform/Trace.h"
#include "platform/posix/XdgFolders.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

namespace twk::qt {

QScreen* QtEnvironment::screen()
{
    if (needsToolkit_)
        needsToolkit_();
    return QGuiApplication::primaryScreen();
}

double twipsPerPixel(double dotsPerInch)
{
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

std::string QtEnvironment::programFolder()
{
    return fromQt(programFolder_);
}

bool QtEnvironment::canWriteIn(const std::string& folder)
{
    return platform::CanWriteIn(folder);
}

std::optional<std::string> QtEnvironment::perUserFolder()
{
    const auto folder = platform::UserProgramFolder([this](const char* name) { return variable(name); });
    if (!folder)
        return std::nullopt;
    if (!platform::MakeFolders(*folder)) {
        platform::trace("cannot make the folder " + *folder + ": " + platform::lastSystemError());
        return std::nullopt;
    }
    return folder;
}

std::string QtEnvironment::argumentString()
{
    return fromQt(arguments_.mid(1).join(QLatin1Char(' ')));
}

std::optional<std::string> QtEnvironment::variable(const std::string& name)
{
    if (!qEnvironmentVariableIsSet(name.c_str()))
        return std::nullopt;
    return fromQt(qEnvironmentVariable(name.c_str()));
}

std::optional<std::string> QtEnvironment::defaultOpener()
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return std::nullopt;
    return fromQt(opener);
}

std::optional<std::string> QtEnvironment::logBrowser()
{
    // Built and installed beside the program (twk3-logs [FILE] opens on a log).
    const QString browser = QDir(programFolder_).filePath(QStringLiteral("twk3-logs"));
    if (!QFileInfo(browser).isExecutable())
        return std::nullopt;
    return fromQt(browser);
}

platform::LocalDateTime QtEnvironment::now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

double QtEnvironment::screenWidthTwips()
{
    const QScreen* shown = screen();
    return shown ? shown->size().width() * twipsPerPixelX() : 0;
}

double QtEnvironment::screenHeightTwips()
{
    const QScreen* shown = screen();
    return shown ? shown->size().height() * twipsPerPixelY() : 0;
}

double QtEnvironment::twipsPerPixelX()
{
    const QScreen* shown = screen();
    return twipsPerPixel(shown ? shown->logicalDotsPerInchX() : 96);
}

double QtEnvironment::twipsPerPixelY()
{
    const QScreen* shown = screen();
    return twipsPerPixel(shown ? shown->logicalDotsPerInchY() : 96);
}

} // namespace twk::qt
