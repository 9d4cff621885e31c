#pragma once

#include "ui/TextBox.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <cstdint>
#include <optional>
#include <string>

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

    ui::TextBox Text1;
    ui::TextBox txtTMP;
    ui::Timer Timer1;

private:
    // The clipboard's text when it is new: not empty and not the text of txtTMP.
    // unreadable: the clipboard could not be read (yet).
    std::optional<std::string> newClipboardText(bool& unreadable);
    void capture(std::string text);
    void rearm();
    // The next tick would find what this one found, unless something changes: the
    // clipboard (announced), txtTMP, or the settings (both wake the timer).
    bool nextTickIdle() const;
    void restUnlessNeeded(bool unreadable);
    shell::Program& program_;
    // The clipboard's sequence number and txtTMP's revision at the last full read.
    std::uint32_t readSequence_ = 0;
    unsigned long readRevision_ = 0;
    int unreadableTicks_ = 0;
};

} // namespace twk::capture
