#include "QtInstances.h"

#include "PrivateFolder.h"

#include "Texts.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

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

std::optional<sockaddr_un> addressOf(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un address{};
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path)
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return address;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

bool sendAll(int fd, const char* text)
{
    for (std::size_t length = std::strlen(text), sent = 0; sent < length;) {
        const auto wrote = ::send(fd, text + sent, length - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno == EAGAIN) {
            pollfd writable{fd, POLLOUT, 0};
            if (::poll(&writable, 1, 1000) <= 0)
                return false;
            continue;
        }
        if (wrote <= 0)
            return false;
        sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

// A connection to the copy that answers at path, once it has greeted; -1 if
// none answered within waitMs.
int greeted(const QString& path, int waitMs)
{
    const auto address = addressOf(path);
    const int fd = address ? newSocket() : -1;
    if (fd < 0)
        return -1;
    QDeadlineTimer deadline(waitMs);
    // A local socket connects at once or not at all; a full backlog says "try again".
    while (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired()) {
            ::close(fd);
            return -1;
        }
        QThread::msleep(10);
    }
    std::string heard;
    while (heard.size() < sizeof kGreeting - 1) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(deadline.remainingTime())) <= 0)
            break;
        char buffer[16];
        const auto got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0 && !(got < 0 && (errno == EAGAIN || errno == EINTR)))
            break;
        if (got > 0)
            heard.append(buffer, static_cast<std::size_t>(got));
    }
    if (heard != kGreeting) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString QtInstances::socketName(const QString& windowClass, const QString& title) const
{
    return folder_ + QStringLiteral("/twk3-") +
           hashed(programTag_ + QLatin1Char('\n') + windowClass + QLatin1Char('\n') + title) +
           QStringLiteral(".socket");
}

QtInstances::QtInstances(const QString& programPath, const QString& windowClass, const QString& title)
    : QtInstances(programPath, windowClass, title, runtimeFolder())
{
}

QtInstances::QtInstances(const QString& programPath, const QString& windowClass, const QString& title,
                         const PrivateFolder& folder)
    : folder_(folder.path), programTag_(hashed(programPath)), windowClass_(windowClass), title_(title),
      lock_(folder_ + QStringLiteral("/twk3-") + programTag_ + QStringLiteral(".lock"))
{
    if (!folder.usable()) {
        // Nothing can be kept private there, so nothing found there is trusted: this
        // copy runs without the one-copy check rather than being kept out by it.
        std::fprintf(stderr, "twk3: the folder %s %s; this copy runs without the check for another copy\n",
                     qPrintable(folder.path), qPrintable(folder.refusal));
        first_ = true;
        checked_ = false;
        return;
    }
    // A lock left by a copy that died is taken over at once.
    lock_.setStaleLockTime(0);
    first_ = lock_.tryLock(0);
    if (first_)
        listen();
}

QtInstances::~QtInstances()
{
    programEnded();
    if (found_ >= 0)
        ::close(found_);
}

void QtInstances::programEnded()
{
    stopListening();
    if (first_)
        lock_.unlock(); // removes the file
    first_ = false;
}

void QtInstances::stopListening()
{
    for (auto& [connection, notifier] : callers_)
        ::close(connection);
    callers_.clear();
    if (server_ < 0)
        return;
    serverNotifier_.reset();
    ::close(server_);
    server_ = -1;
    ::unlink(QFile::encodeName(serverPath_).constData());
}

void QtInstances::listen()
{
    stopListening();
    if (!checked_)
        return;
    const QString path = socketName(windowClass_, title_);
    const auto address = addressOf(path);
    const int fd = address ? newSocket() : -1;
    if (fd < 0)
        return;
    const auto bound = [&] { return ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0; };
    // We hold the lock: whatever socket is there was left by a copy that died.
    if (!bound() && !(errno == EADDRINUSE && ::unlink(address->sun_path) == 0 && bound())) {
        ::close(fd);
        return;
    }
    if (::listen(fd, 8) != 0) {
        ::close(fd);
        ::unlink(address->sun_path);
        return;
    }
    server_ = fd;
    serverPath_ = path;
    // Watched by the event loop, which needs the toolkit: a start-up that makes it
    // later is watched from the loop's first turn; a caller waits for our greeting.
    if (QCoreApplication::instance())
        watchServer();
    else
        QMetaObject::invokeMethod(this, &QtInstances::watchServer, Qt::QueuedConnection);
}

void QtInstances::watchServer()
{
    if (server_ < 0 || serverNotifier_)
        return;
    serverNotifier_ = std::make_unique<QSocketNotifier>(server_, QSocketNotifier::Read);
    connect(serverNotifier_.get(), &QSocketNotifier::activated, this, &QtInstances::answer);
}

void QtInstances::answer()
{
    for (int connection; (connection = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        if (!sendAll(connection, kGreeting)) {
            ::close(connection);
            continue;
        }
        auto notifier = std::make_unique<QSocketNotifier>(connection, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, [this, connection] { hear(connection); });
        callers_[connection] = std::move(notifier);
    }
}

void QtInstances::hear(int connection)
{
    char buffer[64];
    const auto got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    const bool asked = got > 0 && std::memchr(buffer, '\n', static_cast<std::size_t>(got)) != nullptr;
    if (got <= 0) {
        // Gone: dropped from the event loop's next turn, not from inside its own signal.
        const auto it = callers_.find(connection);
        if (it != callers_.end()) {
            it->second->setEnabled(false);
            it->second.release()->deleteLater();
            callers_.erase(it);
            ::close(connection);
        }
    }
    if (asked && onBringForward)
        onBringForward();
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
        if (const int fd = greeted(name, 200); fd >= 0) {
            ::close(fd);
            return true;
        }
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
        stopListening();
}

std::optional<platform::WindowId> QtInstances::findWindow(const std::string& windowClass, const std::string& title)
{
    if (toQt(windowClass) != windowClass_)
        return std::nullopt; // no window of another class is ours
    const int fd = greeted(socketName(toQt(windowClass), toQt(title)), 1000);
    if (fd < 0)
        return std::nullopt;
    if (found_ >= 0)
        ::close(found_);
    found_ = fd;
    return 1;
}

void QtInstances::bringForward(platform::WindowId)
{
    if (found_ < 0)
        return;
    sendAll(found_, kBringForward);
    ::close(found_);
    found_ = -1;
}

} // namespace twk::qt
