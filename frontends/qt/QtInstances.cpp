#include "QtInstances.h"

#include "Texts.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace twk::qt {
namespace {

constexpr char kBringForward[] = "forward\n";
// A running copy greets whoever connects: a copy that is ending, whose event
// loop no longer runs, is connected to by the system but never greets.
constexpr char kGreeting[] = "twk3\n";

QString hashed(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

QString runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty() && QDir().mkpath(folder))
        return folder;
    return QDir::tempPath() + QStringLiteral("/twk3-") + QString::number(::getuid());
}

std::unique_ptr<QLocalSocket> greeted(const QString& name, int waitMs)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(name);
    if (!socket->waitForConnected(waitMs))
        return nullptr;
    QDeadlineTimer deadline(waitMs);
    while (socket->bytesAvailable() < static_cast<qint64>(sizeof kGreeting - 1) && !deadline.hasExpired())
        if (!socket->waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
    if (socket->readAll() != kGreeting)
        return nullptr;
    return socket;
}

} // namespace

QString QtInstances::socketName(const QString& windowClass, const QString& title) const
{
    return folder_ + QStringLiteral("/twk3-") +
           hashed(programTag_ + QLatin1Char('\n') + windowClass + QLatin1Char('\n') + title) +
           QStringLiteral(".socket");
}

QtInstances::QtInstances(const QString& programPath, const QString& windowClass, const QString& title)
    : folder_(runtimeFolder()), programTag_(hashed(programPath)), windowClass_(windowClass), title_(title),
      lock_(folder_ + QStringLiteral("/twk3-") + programTag_ + QStringLiteral(".lock"))
{
    // A lock left by a copy that died is taken over at once.
    lock_.setStaleLockTime(0);
    first_ = lock_.tryLock(0);
    connect(&server_, &QLocalServer::newConnection, this, &QtInstances::answer);
    if (first_)
        listen();
}

QtInstances::~QtInstances()
{
    programEnded();
}

void QtInstances::programEnded()
{
    server_.close();
    if (first_)
        lock_.unlock(); // removes the file
    first_ = false;
}

void QtInstances::listen()
{
    server_.close();
    const QString name = socketName(windowClass_, title_);
    if (server_.listen(name))
        return;
    // We hold the lock: whatever socket is there was left by a copy that died.
    QLocalServer::removeServer(name);
    server_.listen(name);
}

void QtInstances::answer()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains('\n') && onBringForward)
                onBringForward();
        });
        socket->write(kGreeting);
        socket->flush();
    }
}

bool QtInstances::anotherInstanceRunning()
{
    if (first_)
        return false;
    // The copy holding the lock may be starting, running or ending: wait until
    // it greets us, or lets go of the lock as it ends.
    const QString name = socketName(windowClass_, title_);
    QDeadlineTimer deadline(10000);
    do {
        if (lock_.tryLock(0)) {
            first_ = true;
            listen();
            return false;
        }
        if (greeted(name, 200))
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return true;
}

void QtInstances::setApplicationTitle(const std::string& title)
{
    title_ = toQt(title);
    if (first_)
        listen();
    else
        server_.close();
}

std::optional<platform::WindowId> QtInstances::findWindow(const std::string& windowClass, const std::string& title)
{
    if (toQt(windowClass) != windowClass_)
        return std::nullopt; // no window of another class is ours
    auto socket = greeted(socketName(toQt(windowClass), toQt(title)), 1000);
    if (!socket)
        return std::nullopt;
    found_ = std::move(socket);
    return 1;
}

void QtInstances::bringForward(platform::WindowId)
{
    if (!found_)
        return;
    found_->write(kBringForward);
    found_->waitForBytesWritten(1000);
    found_->disconnectFromServer();
}

} // namespace twk::qt
