#pragma once

#include "NativeWindow.h"
#include "ui/CheckBox.h"
#include "ui/Control.h"
#include "ui/ListBox.h"
#include "ui/OptionButton.h"

namespace twk::win32 {

// Native controls that follow a control of the program's model, and hand the
// user's clicks back to it. Each is placed at a rectangle in twips, in the
// window or in one of its pages (parent).
HWND bindCheck(NativeWindow& owner, ui::CheckBox& control, const ui::Bounds& place, HWND parent = nullptr);
// The first option of a group starts it, for the arrow keys.
HWND bindOption(NativeWindow& owner, ui::OptionButton& control, const ui::Bounds& place, bool firstOfGroup,
                HWND parent = nullptr);
// A button without a caption of its own shows the given one.
HWND bindButton(NativeWindow& owner, ui::Button& control, const ui::Bounds& place, const char* emptyCaption = "",
                HWND parent = nullptr);
// "Help (F1)": it presses F1, whose help is the front end's (onHelp).
HWND bindHelpButton(NativeWindow& owner, ui::Button& control, const ui::Bounds& place, HWND parent = nullptr);
HWND bindList(NativeWindow& owner, ui::ListBox& control, const ui::Bounds& place, HWND parent = nullptr);
HWND bindLabel(NativeWindow& owner, ui::Control& control, const ui::Bounds& place, DWORD style = SS_LEFT,
               HWND parent = nullptr);
// A frame: a group box, and the page window whose visibility follows it.
HWND bindFrame(NativeWindow& owner, ui::Control& control, HWND page, const ui::Bounds& place);

} // namespace twk::win32
