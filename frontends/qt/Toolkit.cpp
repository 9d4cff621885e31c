#include "Toolkit.h"

namespace twk::qt {

void Toolkit::make()
{
    if (app_)
        return;
    app_ = std::make_unique<QApplication>(argc_, argv_);
    // A step may ask for the toolkit again: it is made by then.
    for (auto& step : std::exchange(waiting_, {}))
        step();
}

void Toolkit::whenMade(std::function<void()> step)
{
    if (app_)
        step();
    else
        waiting_.push_back(std::move(step));
}

} // namespace twk::qt
