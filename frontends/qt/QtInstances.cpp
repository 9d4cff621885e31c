#include "QtInstances.h"

#include "Texts.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace twk::qt {
namespace {

constexpr char kBringForward[] = "forward\n";

QString userTag()
{
    return QString::number(::getuid());
}

QString hashed(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

bool answers(const QString& name, int waitMs)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(waitMs);
}

} // namespace

QString QtInstances::socketName(const QString& windowClass, const QString& title)
{
    return QStringLiteral("twk3-") + userTag() + QLatin1Char('-') + hashed(windowClass + QLatin1Char('\n') + title);
}

QtInstances::QtInstances(const QString& programPath, const QString& windowClass, const QString& title)
    : windowClass_(windowClass), title_(title), lock_(QDir::tempPath() + QStringLiteral("/twk3-") + userTag() +
                                                      QLatin1Char('-') + hashed(programPath) + QStringLiteral(".lock"))
{
    // A lock left by a copy that died is taken over at once.
    lock_.setStaleLockTime(0);
    first_ = lock_.tryLock(0);
    connect(&server_, &QLocalServer::newConnection, this, &QtInstances::answer);
    if (first_)
        listen();
}

QtInstances::~QtInstances() = default;

void QtInstances::listen()
{
    server_.close();
    const QString name = socketName(windowClass_, title_);
    if (server_.listen(name))
        return;
    // A socket left by a copy that was killed answers nobody: take its place.
    if (server_.serverError() == QAbstractSocket::AddressInUseError && !answers(name, 200)) {
        QLocalServer::removeServer(name);
        server_.listen(name);
    }
}

void QtInstances::answer()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains('\n') && onBringForward)
                onBringForward();
        });
    }
}

bool QtInstances::anotherInstanceRunning()
{
    return !first_;
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
    const QString name = socketName(toQt(windowClass), toQt(title));
    // The copy holding the lock may still be starting: give it a moment to
    // answer, but only where a window of ours could be.
    const int patienceMs = toQt(windowClass) == windowClass_ ? 3000 : 0;
    QDeadlineTimer deadline(patienceMs);
    do {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(name);
        if (socket->waitForConnected(200)) {
            found_ = std::move(socket);
            return 1;
        }
        if (patienceMs > 0)
            QThread::msleep(50);
    } while (!deadline.hasExpired());
    return std::nullopt;
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
