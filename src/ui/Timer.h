#pragma once

#include <functional>

namespace twk::ui {

// A repeating timer. A front end fires it every interval milliseconds.
class Timer {
public:
    explicit Timer(int intervalMs) : interval_(intervalMs) {}

    int interval() const { return interval_; }
    void setInterval(int intervalMs);
    // The handler may end the program and so destroy this timer: it runs from
    // a copy that outlives the timer.
    void fire()
    {
        if (auto handler = onTimer)
            handler();
    }

    std::function<void()> onTimer;
    std::function<void()> onIntervalChanged; // for a front end

private:
    int interval_;
};

} // namespace twk::ui
