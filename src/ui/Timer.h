#pragma once

#include <cstdint>
#include <functional>

namespace twk::ui {

// A repeating timer. A front end fires it every interval milliseconds.
// Its owner may let it doze: the ticks until wake() would find nothing to do, and a
// front end may skip them, resuming on the ticks' own beat (a front end that does
// not skip them loses nothing).
class Timer {
public:
    explicit Timer(int intervalMs) : interval_(intervalMs) {}

    int interval() const { return interval_; }
    void setInterval(int intervalMs);
    bool dozing() const { return dozing_; }
    void doze();
    void wake();
    // Woken msSinceTick after its last tick: how long until the tick that would have
    // come had it never dozed (0: now).
    int untilNextBeat(std::int64_t msSinceTick) const;
    // The handler may end the program and so destroy this timer: it runs from
    // a copy that outlives the timer.
    void fire()
    {
        if (auto handler = onTimer)
            handler();
    }

    std::function<void()> onTimer;
    std::function<void()> onIntervalChanged; // for a front end
    std::function<void()> onDozeChanged;     // for a front end

private:
    void setDozing(bool dozing);
    int interval_;
    bool dozing_ = false;
};

} // namespace twk::ui
