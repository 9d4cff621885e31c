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

} // namespace twk::ui
