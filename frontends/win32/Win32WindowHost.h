#pragma once

#include "NativeWindow.h"
#include "ui/WindowSlot.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace twk::win32 {

// Gives each window the core loads a native window, and drops it again.
class Win32WindowHost final : public ui::WindowHost {
public:
    explicit Win32WindowHost(double twipsPerPixel) : twipsPerPixel_(twipsPerPixel) {}
    ~Win32WindowHost() override;

    void windowLoaded(ui::Window& window) override;
    void windowUnloaded(ui::Window& window) override;

    // Windows dropped while one of their own messages may still be running
    // are destroyed here, from the outermost message loop.
    void destroyDroppedWindows();

    // Runs once the hidden main window is gone: the program has ended.
    std::function<void()> onProgramEnded;
    // F1 in any window.
    std::function<void()> onHelp;

private:
    double twipsPerPixel_;
    std::map<ui::Window*, std::unique_ptr<NativeWindow>> windows_;
    std::vector<std::unique_ptr<NativeWindow>> dropped_;
};

} // namespace twk::win32
