#pragma once

#include "NativeWindow.h"
#include "ui/ShownText.h"
#include "ui/TextBox.h"

#include <functional>
#include <string>

namespace twk::win32 {

// A window of the program that is one edit control covering the window, and
// a button under it that hides the window (Esc presses it): the viewer and
// the Link Catcher. A text past the shown limit is shown from near its end,
// read-only, under a line that says so.
class TextWindow final : public NativeWindow {
public:
    struct Binding {
        ui::Window& window;
        ui::TextBox& text;
        const char* buttonCaption;
        ui::Bounds buttonPlace;              // in twips, as designed
        std::function<void()> onButton;      // the button and Esc
        std::function<void()> onDoubleClick; // after the edit selected the word
        double twipsPerPixel = 15;
        std::size_t shownLimit = ui::kShownTextLimit;
    };

    explicit TextWindow(Binding binding);
    ~TextWindow() override;

    void detach() override;
    // Shown, the window lays out the text it was given while hidden.
    void windowChanged() override;
    HWND edit() const { return edit_; }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool cancel() override;

private:
    static LRESULT CALLBACK editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    void refresh();
    void takeText();

    ui::TextBox* text_;
    Binding binding_;
    HWND edit_;
    HWND button_;
    WNDPROC editDefault_;
    unsigned long shownRevision_ = 0;
    bool shown_ = false;
    bool cut_ = false;
    bool takingUsersText_ = false;
};

} // namespace twk::win32
