#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace twk::qt {

// The system asks the program to end: SIGTERM at log-out or shutdown, SIGINT,
// SIGHUP, or the session manager. Each request runs onEndRequested on the
// event loop, where the program can shut down in order, as "Exit" does. A
// second signal while that shutdown hangs ends the program the plain way.
class EndRequests final : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(std::function<void()> onEndRequested);
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

private:
    void signalled();

    std::function<void()> onEndRequested_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace twk::qt
