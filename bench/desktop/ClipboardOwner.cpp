// Holds a generated text on the X11 CLIPBOARD selection, as a program the
// user copied from would, and reports on stdout every conversion asked of it:
//   owned <ns>            ownership taken (CLOCK_MONOTONIC nanoseconds)
//   request <target>      a requestor asked for that target
//   served <target> <bytes> <ns>   a text transfer finished (INCR included)
//   lost <ns>             another client took the selection
// With --keep it takes the selection back at once, like a clipboard manager
// that insists on holding the text; otherwise it ends when it loses it.
// Usage: clipboard_owner --bytes N [--tag WORD] [--keep]

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <sys/select.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Lines of readable text ending with a line that names the tag, so a reader
// of the log knows when the whole text has arrived.
std::string makeText(std::size_t bytes, const std::string& tag)
{
    const std::string last = "end of " + tag;
    std::string text;
    text.reserve(bytes + last.size());
    char line[96];
    for (long number = 1; text.size() + last.size() < bytes; ++number) {
        const int length = std::snprintf(
            line, sizeof line, "%s line %09ld: the quick brown fox jumps over the lazy dog\n", tag.c_str(), number);
        text.append(line, static_cast<std::size_t>(std::min<int>(length, static_cast<int>(sizeof line) - 1)));
    }
    if (text.size() + last.size() > bytes && text.size() >= last.size())
        text.resize(bytes > last.size() ? bytes - last.size() : 0);
    return text + last;
}

struct Atoms {
    Atom clipboard, targets, timestamp, incr, utf8, text, plain, plainUtf8;
    explicit Atoms(Display* display)
        : clipboard(XInternAtom(display, "CLIPBOARD", False)), targets(XInternAtom(display, "TARGETS", False)),
          timestamp(XInternAtom(display, "TIMESTAMP", False)), incr(XInternAtom(display, "INCR", False)),
          utf8(XInternAtom(display, "UTF8_STRING", False)), text(XInternAtom(display, "TEXT", False)),
          plain(XInternAtom(display, "text/plain", False)),
          plainUtf8(XInternAtom(display, "text/plain;charset=utf-8", False))
    {
    }
    bool isText(Atom target) const
    {
        return target == utf8 || target == XA_STRING || target == text || target == plain || target == plainUtf8;
    }
};

// One INCR transfer in progress, keyed by the requestor's window.
struct Transfer {
    Atom property;
    Atom target;
    std::size_t offset = 0;
    bool finished = false;
};

class Owner {
public:
    Owner(Display* display, std::string text, bool keep)
        : display_(display), atoms_(display), text_(std::move(text)), keep_(keep),
          window_(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0))
    {
        XSelectInput(display_, window_, PropertyChangeMask);
        const long maxUnits = std::max(XExtendedMaxRequestSize(display_), XMaxRequestSize(display_));
        chunk_ = std::min<std::size_t>(256 * 1024, static_cast<std::size_t>(maxUnits) * 4 / 2);
    }

    bool own()
    {
        ownedAt_ = serverTime();
        XSetSelectionOwner(display_, atoms_.clipboard, window_, ownedAt_);
        if (XGetSelectionOwner(display_, atoms_.clipboard) != window_)
            return false;
        std::printf("owned %lld\n", nowNs());
        std::fflush(stdout);
        return true;
    }

    // Returns false when the owner should end.
    bool handle(XEvent& event)
    {
        switch (event.type) {
        case SelectionRequest:
            answer(event.xselectionrequest);
            return true;
        case SelectionClear:
            std::printf("lost %lld\n", nowNs());
            std::fflush(stdout);
            transfers_.clear();
            return keep_ && own();
        case PropertyNotify:
            if (event.xproperty.state == PropertyDelete)
                continueTransfer(event.xproperty.window, event.xproperty.atom);
            return true;
        default:
            return true;
        }
    }

private:
    // A timestamp from the server: append nothing to a property of our own.
    Time serverTime()
    {
        XChangeProperty(display_, window_, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent event;
        for (;;) {
            XWindowEvent(display_, window_, PropertyChangeMask, &event);
            if (event.xproperty.atom == XA_WM_NAME)
                return event.xproperty.time;
        }
    }

    void answer(const XSelectionRequestEvent& request)
    {
        char* name = XGetAtomName(display_, request.target);
        std::printf("request %s\n", name ? name : "?");
        std::fflush(stdout);
        if (name)
            XFree(name);

        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = request.display;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = request.property == None ? request.target : request.property;

        if (request.target == atoms_.targets) {
            const Atom offered[] = {atoms_.targets, atoms_.timestamp, atoms_.utf8,     XA_STRING,
                                    atoms_.text,    atoms_.plain,     atoms_.plainUtf8};
            XChangeProperty(display_, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), sizeof offered / sizeof offered[0]);
        } else if (request.target == atoms_.timestamp) {
            const long stamp = static_cast<long>(ownedAt_);
            XChangeProperty(display_, request.requestor, reply.property, XA_INTEGER, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&stamp), 1);
        } else if (atoms_.isText(request.target)) {
            const Atom type = request.target == atoms_.text ? atoms_.utf8 : request.target;
            if (text_.size() <= chunk_) {
                XChangeProperty(display_, request.requestor, reply.property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text_.data()), static_cast<int>(text_.size()));
                served(request.target);
            } else {
                startTransfer(request, reply.property, type);
            }
        } else {
            reply.property = None;
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display_);
    }

    void startTransfer(const XSelectionRequestEvent& request, Atom property, Atom type)
    {
        XSelectInput(display_, request.requestor, PropertyChangeMask);
        const long size = static_cast<long>(text_.size());
        XChangeProperty(display_, request.requestor, property, atoms_.incr, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&size), 1);
        transfers_[request.requestor] = Transfer{property, type};
        requestedTargets_[request.requestor] = request.target;
    }

    void continueTransfer(Window requestor, Atom property)
    {
        auto found = transfers_.find(requestor);
        if (found == transfers_.end() || found->second.property != property)
            return;
        Transfer& transfer = found->second;
        const std::size_t length = std::min(chunk_, text_.size() - transfer.offset);
        XChangeProperty(display_, requestor, property, transfer.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text_.data() + transfer.offset),
                        static_cast<int>(length));
        XFlush(display_);
        transfer.offset += length;
        if (length == 0) {
            served(requestedTargets_[requestor]);
            XSelectInput(display_, requestor, NoEventMask);
            transfers_.erase(found);
        }
    }

    void served(Atom target)
    {
        char* name = XGetAtomName(display_, target);
        std::printf("served %s %zu %lld\n", name ? name : "?", text_.size(), nowNs());
        std::fflush(stdout);
        if (name)
            XFree(name);
    }

    Display* display_;
    Atoms atoms_;
    std::string text_;
    bool keep_;
    Window window_;
    std::size_t chunk_;
    Time ownedAt_ = CurrentTime;
    std::map<Window, Transfer> transfers_;
    std::map<Window, Atom> requestedTargets_;
};

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0; // a requestor that went away mid-transfer
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t bytes = 0;
    std::string tag = "copied";
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--bytes") && i + 1 < argc)
            bytes = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--tag") && i + 1 < argc)
            tag = argv[++i];
        else if (!std::strcmp(argv[i], "--keep"))
            keep = true;
        else {
            std::fprintf(stderr, "usage: clipboard_owner --bytes N [--tag WORD] [--keep]\n");
            return 2;
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "clipboard_owner: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::signal(SIGINT, [](int) { stopRequested = 1; });

    Owner owner(display, makeText(bytes, tag), keep);
    if (!owner.own())
        return 1;
    const int fd = ConnectionNumber(display);
    while (!stopRequested) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (!owner.handle(event)) {
                XCloseDisplay(display);
                return 0;
            }
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval wait{0, 100000};
        select(fd + 1, &readable, nullptr, nullptr, &wait);
    }
    XCloseDisplay(display);
    return 0;
}
