#include "wayland/Transfers.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace twk::wayland {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

const std::vector<std::string>& TextTypes()
{
    static const std::vector<std::string> types{"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT",
                                                "STRING"};
    return types;
}

std::optional<std::string> TextTypeOf(const std::vector<std::string>& offered)
{
    // STRING is Latin-1 by X11's rules: asked last, as other programs do.
    for (const std::string_view wanted : {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT", "STRING"})
        for (const auto& type : offered)
            if (sameIgnoringCase(type, wanted))
                return type;
    return std::nullopt;
}

Incoming::~Incoming()
{
    close(fd_);
}

Incoming::State Incoming::readAvailable(std::size_t limit)
{
    moved_ = false;
    char buffer[65536];
    for (;;) {
        const auto got = read(fd_, buffer, sizeof buffer);
        if (got == 0)
            return State::done;
        if (got < 0)
            return errno == EAGAIN ? State::more : errno == EINTR ? readAvailable(limit) : State::failed;
        moved_ = true;
        data_.append(buffer, static_cast<std::size_t>(got));
        if (data_.size() > limit)
            return State::failed;
    }
}

void SendNow(int fd, const std::string& data, std::chrono::milliseconds patience)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    // A reader that went away must not end the program.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    bool broken = false;
    for (std::size_t sent = 0; sent < data.size();) {
        const auto wrote = write(fd, data.data() + sent, data.size() - sent);
        if (wrote > 0) {
            sent += static_cast<std::size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno == EINTR)
            continue;
        broken = wrote < 0 && errno == EPIPE;
        pollfd writable{fd, POLLOUT, 0};
        if (wrote == 0 || errno != EAGAIN || poll(&writable, 1, static_cast<int>(patience.count())) <= 0)
            break;
    }
    close(fd);
    if (broken) {
        // The SIGPIPE that write raised is taken back before the signal is let through.
        timespec none{0, 0};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

void SendInBackground(int fd, std::shared_ptr<const std::string> data, std::chrono::milliseconds patience)
{
    std::thread([fd, data = std::move(data), patience] { SendNow(fd, *data, patience); }).detach();
}

} // namespace twk::wayland
