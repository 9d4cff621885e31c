#pragma once

#include "platform/Clipboard.h"
#include "ui/TextBox.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twk::shell {
class Program;
}

namespace twk::capture {

inline constexpr const char* kViewerPlacementSection = "frmtotext";
inline constexpr int kFirstTickMs = 50;
// How long a hit-and-run start waits for a clipboard it cannot read yet.
inline constexpr int kHitAndRunPatienceMs = 5000;

// "Recent Clipboard Text": shows what was caught, and carries the polling
// timer and the hidden box that every new clipboard text passes through. It
// lives for the whole run and only hides when closed.
class FrmToText : public ui::Window {
public:
    explicit FrmToText(shell::Program& program);
    ~FrmToText() override;
    FrmToText(const FrmToText&) = delete;
    FrmToText& operator=(const FrmToText&) = delete;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    void Command1_Click();
    void Text1_Change();
    void Timer1_Timer();
    // Tells the clipboard whether capture is on, so that with capture off it reads nothing.
    void followCaptureSwitch();
    // The local time at which the text being captured was copied, while it is captured;
    // nullopt otherwise (the present time counts).
    const std::optional<platform::LocalDateTime>& copiedAt() const { return copiedAt_; }

    ui::TextBox Text1;
    ui::TextBox txtTMP;
    ui::Timer Timer1;

private:
    // Captures each new text in copy order; the last copy, if captured, is put back or
    // cleared, and one beep says that anything was.
    void captureAll(std::vector<platform::ClipboardCopy> copies);
    void capture(platform::ClipboardCopy& copy);
    void rearm();
    // The next tick would find what this one found, unless something changes: the
    // clipboard (announced), txtTMP, or the settings (both wake the timer).
    bool nextTickIdle() const;
    void restUnlessNeeded();
    shell::Program& program_;
    // txtTMP's revision when the tick last took the clipboard's copies: another change
    // (the tray's clearing) makes the clipboard's present content count again.
    unsigned long readRevision_ = 0;
    // A change announced since the tick took the copies.
    bool announced_ = false;
    bool ticking_ = false;
    std::optional<platform::LocalDateTime> copiedAt_;
    int unreadableTicks_ = 0;
};

} // namespace twk::capture
