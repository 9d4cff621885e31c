#include "ui/Timer.h"

namespace twk::ui {

void Timer::setInterval(int intervalMs)
{
    if (intervalMs == interval_)
        return;
    interval_ = intervalMs;
    if (onIntervalChanged)
        onIntervalChanged();
}

void Timer::doze()
{
    setDozing(true);
}

void Timer::wake()
{
    setDozing(false);
}

int Timer::untilNextBeat(std::int64_t msSinceTick) const
{
    if (interval_ <= 0 || msSinceTick < 0)
        return 0;
    return static_cast<int>((interval_ - msSinceTick % interval_) % interval_);
}

void Timer::setDozing(bool dozing)
{
    if (dozing == dozing_)
        return;
    dozing_ = dozing;
    if (onDozeChanged)
        onDozeChanged();
}

} // namespace twk::ui
