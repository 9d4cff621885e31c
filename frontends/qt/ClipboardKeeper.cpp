#include "ClipboardKeeper.h"

#include "platform/Trace.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <utility>

extern char** environ;

namespace twk::qt {
namespace {

constexpr std::chrono::milliseconds kKeeperPatience{3000};

bool sendAll(int fd, const std::string& data)
{
    for (std::size_t sent = 0; sent < data.size();) {
        const auto wrote = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0)
            return false;
        sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool saysReady(int fd)
{
    pollfd answer{fd, POLLIN, 0};
    if (poll(&answer, 1, static_cast<int>(kKeeperPatience.count())) <= 0)
        return false;
    char said[8] = {};
    return ::recv(fd, said, sizeof said - 1, 0) > 0 && std::string(said).starts_with("ready");
}

} // namespace

ClipboardKeeper::ClipboardKeeper(QString program) : program_(std::move(program))
{
}

ClipboardKeeper::~ClipboardKeeper()
{
    if (socket_ >= 0)
        close(socket_);
}

void ClipboardKeeper::startEarly()
{
    if (socket_ < 0)
        start();
}

bool ClipboardKeeper::start()
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        platform::trace("keeper not started: no socket for it: " + platform::lastSystemError());
        return false;
    }
    const int its = ends[1];

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, its, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, its, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session: it outlives us and hears nothing meant for our terminal or group.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    const std::string path = program_.toStdString();
    char* arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(its);
    if (spawned != 0) {
        platform::trace("keeper not started: " + path + ": " + std::strerror(spawned));
        close(ends[0]);
        return false;
    }
    socket_ = ends[0];
    return true;
}

bool ClipboardKeeper::keep(const std::string& utf8)
{
    if (utf8.empty() || (socket_ < 0 && !start()))
        return false;
    bool kept = sendAll(socket_, utf8);
    if (kept) {
        shutdown(socket_, SHUT_WR);
        kept = saysReady(socket_);
    }
    if (!kept)
        platform::trace("keeper " + program_.toStdString() +
                        " did not take the clipboard's text: the text ends with "
                        "the program");
    close(socket_);
    socket_ = -1;
    return kept;
}

} // namespace twk::qt
