#include "Win32WindowHost.h"

#include "AboutWindow.h"
#include "BrowserWindow.h"
#include "OptionsWindow.h"
#include "TextWindow.h"
#include "about/FrmAbout.h"
#include "capture/FrmToText.h"
#include "configuration/FrmFileBrowser.h"
#include "configuration/FrmOptions.h"
#include "logging/FrmLinkCatcher.h"
#include "shell/Form1.h"

#include <cstdint>
#include <memory>

namespace twk::win32 {
namespace {

constexpr UINT_PTR kPollingTimer = 1;

// The polling timer's last tick and the period it is set to now.
struct Beat {
    ULONGLONG lastTick;
    UINT period;
};

std::unique_ptr<NativeWindow> viewerWindow(capture::FrmToText& viewer, double tpp)
{
    auto window = std::make_unique<TextWindow>(TextWindow::Binding{
        viewer, viewer.Text1, "&Cancel", {240, 120, 375, 255}, [&viewer] { viewer.Command1_Click(); }, nullptr, tpp});
    // The polling timer lives as long as the viewer's window.
    HWND handle = window->handle();
    auto beat = std::make_shared<Beat>(Beat{GetTickCount64(), static_cast<UINT>(viewer.Timer1.interval())});
    const auto arm = [handle, beat](int periodMs) {
        beat->period = static_cast<UINT>(periodMs);
        SetTimer(handle, kPollingTimer, beat->period, nullptr);
    };
    window->onTimer = [beat, arm, &viewer] {
        beat->lastTick = GetTickCount64();
        // Woken from a doze on the old beat: the ticks go on at the interval from here.
        if (beat->period != static_cast<UINT>(viewer.Timer1.interval()))
            arm(viewer.Timer1.interval());
        viewer.Timer1.fire();
    };
    arm(viewer.Timer1.interval());
    viewer.Timer1.onIntervalChanged = [arm, &viewer] { arm(viewer.Timer1.interval()); };
    // Dozing, the timer stops: no wakeup while nothing can change. Woken, the next tick
    // comes when it would have come had the timer kept going.
    viewer.Timer1.onDozeChanged = [handle, beat, arm, &viewer] {
        if (viewer.Timer1.dozing())
            KillTimer(handle, kPollingTimer);
        else
            arm(viewer.Timer1.untilNextBeat(static_cast<std::int64_t>(GetTickCount64() - beat->lastTick)));
    };
    return window;
}

std::unique_ptr<NativeWindow> catcherWindow(logging::FrmLinkCatcher& catcher, double tpp)
{
    return std::make_unique<TextWindow>(TextWindow::Binding{catcher,
                                                            catcher.Text1,
                                                            "&OK (ESC)",
                                                            {600, 840, 1335, 375},
                                                            [&catcher] { catcher.Command1_Click(); },
                                                            [&catcher] { catcher.Text1_DblClick(); },
                                                            tpp});
}

} // namespace

Win32WindowHost::~Win32WindowHost() = default;

void Win32WindowHost::windowLoaded(ui::Window& window)
{
    const double tpp = twipsPerPixel_;
    // One line per kind of window.
    std::unique_ptr<NativeWindow> native;
    if (auto* viewer = dynamic_cast<capture::FrmToText*>(&window))
        native = viewerWindow(*viewer, tpp);
    else if (auto* catcher = dynamic_cast<logging::FrmLinkCatcher*>(&window))
        native = catcherWindow(*catcher, tpp);
    else if (auto* options = dynamic_cast<configuration::FrmOptions*>(&window))
        native = std::make_unique<OptionsWindow>(*options, tpp);
    else if (auto* browser = dynamic_cast<configuration::FrmFileBrowser*>(&window))
        native = std::make_unique<BrowserWindow>(*browser, tpp);
    else if (auto* about = dynamic_cast<about::FrmAbout*>(&window))
        native = std::make_unique<AboutWindow>(*about, tpp);
    // The hidden main window has nothing to show: the tray stands for it.
    if (!native)
        return;
    native->onHelp = [this] {
        if (onHelp)
            onHelp();
    };
    windows_[&window] = std::move(native);
}

void Win32WindowHost::windowUnloaded(ui::Window& window)
{
    if (dynamic_cast<shell::Form1*>(&window)) {
        if (onProgramEnded)
            onProgramEnded();
        return;
    }
    const auto it = windows_.find(&window);
    if (it == windows_.end())
        return;
    auto& native = it->second;
    native->detach();
    KillTimer(native->handle(), kPollingTimer);
    ShowWindow(native->handle(), SW_HIDE);
    dropped_.push_back(std::move(native));
    windows_.erase(it);
}

void Win32WindowHost::destroyDroppedWindows()
{
    dropped_.clear();
}

} // namespace twk::win32
