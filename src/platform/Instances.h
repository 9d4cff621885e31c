#pragma once

#include <optional>
#include <string>

namespace twk::platform {

using WindowId = long long;

// How one running copy of the program finds another: by the class and title
// of the hidden application window each copy owns.
class Instances {
public:
    virtual ~Instances() = default;
    virtual bool anotherInstanceRunning() = 0;
    // Renames this copy's application window (and so how others find it).
    virtual void setApplicationTitle(const std::string& title) = 0;
    virtual std::optional<WindowId> findWindow(const std::string& windowClass, const std::string& title) = 0;
    // Restores the found copy if it is minimised and brings it to the foreground.
    virtual void bringForward(WindowId window) = 0;
};

} // namespace twk::platform
