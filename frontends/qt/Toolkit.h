#pragma once

#include <QApplication>

#include <functional>
#include <memory>
#include <vector>

namespace twk::qt {

// The Qt application, made when something first needs it (a window, the screen,
// a message box) rather than at the program's entry: the start-up up to the
// viewer's polling timer needs none of it, so the toolkit's own start-up falls
// within the first tick's countdown instead of before it.
class Toolkit {
public:
    Toolkit(int& argc, char** argv) : argc_(argc), argv_(argv) {}
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    bool made() const { return app_ != nullptr; }
    // Makes the application once, then runs what waited for it, in order.
    void make();
    // Runs at once when the application is made already.
    void whenMade(std::function<void()> step);

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> app_;
    std::vector<std::function<void()>> waiting_;
};

} // namespace twk::qt
