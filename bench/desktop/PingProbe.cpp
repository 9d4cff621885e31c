// Measures how long a program's event loop keeps a window request waiting:
// sends _NET_WM_PING to one of its windows, as a window manager does to find
// a hung program, and times each answer. Prints one line per answer,
//   rtt <microseconds>
// and pings again 20 ms later, until SIGTERM. A ping that is never answered
// shows as the time from its sending to the end, printed as "pending <us>".
// Usage: ping_probe WINDOW_ID

#include <X11/Xlib.h>

#include <sys/select.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

long long nowUs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// Waits for the connection to have something to read, or for a short while.
void waitForEvents(Display* display, long microseconds)
{
    if (XPending(display))
        return;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(ConnectionNumber(display), &readable);
    timeval wait{0, microseconds};
    select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &wait);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ping_probe WINDOW_ID\n");
        return 2;
    }
    const Window target = std::strtoul(argv[1], nullptr, 0);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "ping_probe: cannot open the display\n");
        return 1;
    }
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::signal(SIGINT, [](int) { stopRequested = 1; });

    const Window root = DefaultRootWindow(display);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    // Answers go to the root window for whoever selected StructureNotify or
    // SubstructureRedirect there (toolkits differ); redirect is the window
    // manager's alone, so select the first.
    XSelectInput(display, root, StructureNotifyMask);

    long serial = 1;
    while (!stopRequested) {
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = target;
        message.xclient.message_type = protocols;
        message.xclient.format = 32;
        message.xclient.data.l[0] = static_cast<long>(ping);
        message.xclient.data.l[1] = serial;
        message.xclient.data.l[2] = static_cast<long>(target);
        const long long sent = nowUs();
        XSendEvent(display, target, False, NoEventMask, &message);
        XFlush(display);

        bool answered = false;
        while (!answered && !stopRequested) {
            waitForEvents(display, 50000);
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == ClientMessage && event.xclient.message_type == protocols &&
                    static_cast<Atom>(event.xclient.data.l[0]) == ping && event.xclient.data.l[1] == serial)
                    answered = true;
            }
        }
        const long long elapsed = nowUs() - sent;
        std::printf("%s %lld\n", answered ? "rtt" : "pending", elapsed);
        std::fflush(stdout);
        ++serial;
        const long long pause = nowUs() + 20000;
        while (!stopRequested && nowUs() < pause)
            waitForEvents(display, 20000);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    XCloseDisplay(display);
    return 0;
}
