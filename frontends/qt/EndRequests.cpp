#include "EndRequests.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace twk::qt {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may do almost nothing: it only wakes the event loop.
int wakeUp[2] = {-1, -1};

void onSignal(int number)
{
    // The next one of this kind ends the program at once.
    std::signal(number, SIG_DFL);
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const auto written = ::write(wakeUp[0], &byte, 1);
}

} // namespace

EndRequests::EndRequests(std::function<void()> onEndRequested) : onEndRequested_(std::move(onEndRequested))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) == 0) {
        for (const int end : wakeUp)
            ::fcntl(end, F_SETFL, O_NONBLOCK);
        notifier_ = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &EndRequests::signalled);
        for (const int number : kEndSignals) {
            struct sigaction action {};
            action.sa_handler = onSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(number, &action, nullptr);
        }
    }
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session ends: nothing to ask the user, everything to save.
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            if (onEndRequested_)
                onEndRequested_();
        });
    }
}

EndRequests::~EndRequests()
{
    for (const int number : kEndSignals)
        std::signal(number, SIG_DFL);
    delete notifier_;
    for (int& end : wakeUp) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void EndRequests::signalled()
{
    char bytes[16];
    while (::read(wakeUp[1], bytes, sizeof bytes) > 0) {
    }
    if (onEndRequested_)
        onEndRequested_();
}

} // namespace twk::qt
