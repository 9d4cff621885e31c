#include "ControlBinding.h"

#include "WindowText.h"
#include "platform/win32/Utf16.h"

#include <algorithm>
#include <string>

namespace twk::win32 {
namespace {

// Caption, tooltip, enabled state and visibility: what every control shows.
void showLook(NativeWindow& owner, HWND widget, const ui::Control& control, const char* emptyCaption = "")
{
    setWindowText(widget, control.caption().empty() ? std::string(emptyCaption) : control.caption());
    owner.setTooltip(widget, control.tooltip());
    EnableWindow(widget, control.enabled());
    ShowWindow(widget, control.visible() ? SW_SHOWNA : SW_HIDE);
}

// Keeps the widget in step with the control until the window is detached.
template <class C> void follow(NativeWindow& owner, C& control, std::function<void()> display)
{
    control.onDisplay = display;
    display();
    owner.whenDetached([&control] { control.onDisplay = nullptr; });
}

} // namespace

HWND bindCheck(NativeWindow& owner, ui::CheckBox& control, const ui::Bounds& place, HWND parent)
{
    // A click asks the model, and the box shows the model's value.
    const int id = owner.registerCommand([&control](int code, HWND) {
        if (code == BN_CLICKED)
            control.setValue(control.ticked() ? 0 : 1);
    });
    HWND widget = owner.addControl(L"BUTTON", "", BS_CHECKBOX | WS_TABSTOP, place, id, parent);
    follow(owner, control, [&owner, &control, widget] {
        showLook(owner, widget, control);
        SendMessageW(widget, BM_SETCHECK, control.ticked() ? BST_CHECKED : BST_UNCHECKED, 0);
    });
    return widget;
}

HWND bindOption(NativeWindow& owner, ui::OptionButton& control, const ui::Bounds& place, bool firstOfGroup, HWND parent)
{
    const int id = owner.registerCommand([&control](int code, HWND) {
        if (code == BN_CLICKED)
            control.select();
    });
    HWND widget =
        owner.addControl(L"BUTTON", "", BS_RADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), place, id, parent);
    follow(owner, control, [&owner, &control, widget] {
        showLook(owner, widget, control);
        SendMessageW(widget, BM_SETCHECK, control.selected() ? BST_CHECKED : BST_UNCHECKED, 0);
    });
    return widget;
}

HWND bindButton(NativeWindow& owner, ui::Button& control, const ui::Bounds& place, const char* emptyCaption,
                HWND parent)
{
    const int id = owner.registerCommand([&control](int code, HWND) {
        if (code == BN_CLICKED)
            control.click();
    });
    HWND widget = owner.addControl(L"BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, place, id, parent);
    follow(owner, control,
           [&owner, &control, widget, emptyCaption] { showLook(owner, widget, control, emptyCaption); });
    return widget;
}

HWND bindHelpButton(NativeWindow& owner, ui::Button& control, const ui::Bounds& place, HWND parent)
{
    const int id = owner.registerCommand([&owner](int code, HWND) {
        if (code == BN_CLICKED && owner.onHelp)
            owner.onHelp();
    });
    HWND widget = owner.addControl(L"BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, place, id, parent);
    follow(owner, control, [&owner, &control, widget] { showLook(owner, widget, control); });
    return widget;
}

HWND bindList(NativeWindow& owner, ui::ListBox& control, const ui::Bounds& place, HWND parent)
{
    const int id = owner.registerCommand([&control](int code, HWND widget) {
        if (code != LBN_SELCHANGE)
            return;
        const auto index = static_cast<int>(SendMessageW(widget, LB_GETCURSEL, 0, 0));
        if (index != control.selectedIndex())
            control.select(index);
    });
    HWND widget = owner.addControl(L"LISTBOX", "", LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, place, id, parent);
    follow(owner, control, [&control, widget] {
        const auto& items = control.items();
        bool same = static_cast<std::size_t>(SendMessageW(widget, LB_GETCOUNT, 0, 0)) == items.size();
        for (std::size_t i = 0; same && i < items.size(); ++i) {
            const LRESULT length = SendMessageW(widget, LB_GETTEXTLEN, i, 0);
            std::wstring shown(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
            if (length > 0)
                shown.resize(static_cast<std::size_t>(
                    std::max<LRESULT>(0, SendMessageW(widget, LB_GETTEXT, i, reinterpret_cast<LPARAM>(shown.data())))));
            else
                shown.clear();
            same = items[i] == platform::win32::toUtf8(shown);
        }
        if (!same) {
            SendMessageW(widget, LB_RESETCONTENT, 0, 0);
            for (const auto& item : items)
                SendMessageW(widget, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::toWide(item).c_str()));
        }
        SendMessageW(widget, LB_SETCURSEL, static_cast<WPARAM>(control.selectedIndex()), 0);
        EnableWindow(widget, control.enabled());
    });
    return widget;
}

HWND bindLabel(NativeWindow& owner, ui::Control& control, const ui::Bounds& place, DWORD style, HWND parent)
{
    HWND widget = owner.addControl(L"STATIC", "", style, place, 0, parent);
    follow(owner, control, [&owner, &control, widget] { showLook(owner, widget, control); });
    return widget;
}

HWND bindFrame(NativeWindow& owner, ui::Control& control, HWND page, const ui::Bounds& place)
{
    HWND widget = owner.addControl(L"BUTTON", "", BS_GROUPBOX, place, 0, page);
    follow(owner, control, [&owner, &control, widget, page] {
        showLook(owner, widget, control);
        ShowWindow(page, control.visible() ? SW_SHOWNA : SW_HIDE);
    });
    return widget;
}

} // namespace twk::win32
