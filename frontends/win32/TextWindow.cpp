#include "TextWindow.h"

#include "WindowText.h"
#include "platform/win32/Utf16.h"

#include <algorithm>

namespace twk::win32 {
namespace {

constexpr int kEditId = 100;
constexpr int kButtonId = 101;

} // namespace

TextWindow::TextWindow(Binding binding)
    : NativeWindow(binding.window, binding.twipsPerPixel, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), text_(&binding.text),
      binding_(std::move(binding))
{
    // No scroll bars: the box covers the whole window, frame included.
    edit_ = addControl(L"EDIT", "",
                       ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_TABSTOP | WS_CLIPSIBLINGS,
                       text_->bounds(), kEditId);
    // No limit but memory's, as for a text the program sets.
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    button_ = addControl(L"BUTTON", binding_.buttonCaption, BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS,
                         binding_.buttonPlace, kButtonId);
    // Under the box that covers the window: Esc and the close box do its work
    // without hiding the text.
    SetWindowPos(button_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editDefault_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure)));

    text_->onDisplay = [this] { refresh(); };
    windowChanged();
}

TextWindow::~TextWindow()
{
    detach();
    // The edit outlives this object by the base class's DestroyWindow.
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editDefault_));
    SetWindowLongPtrW(edit_, GWLP_USERDATA, 0);
}

void TextWindow::detach()
{
    NativeWindow::detach();
    if (text_)
        text_->onDisplay = nullptr;
    text_ = nullptr;
    binding_.onButton = nullptr;
    binding_.onDoubleClick = nullptr;
}

void TextWindow::windowChanged()
{
    NativeWindow::windowChanged();
    refresh();
}

void TextWindow::refresh()
{
    if (!text_)
        return;
    const auto& b = text_->bounds();
    MoveWindow(edit_, pixels(b.left), pixels(b.top), pixels(b.width), pixels(b.height), TRUE);
    // Also called for moves and resizes, and after the user's own typing: the
    // text is shown anew only when the program changed it. A hidden window lays
    // it out when it is shown: a huge text costs nothing while nobody looks.
    if (takingUsersText_ || (shown_ && shownRevision_ == text_->revision()) || !binding_.window.visible())
        return;
    const std::string& whole = text_->text();
    const std::size_t from = ui::shownFrom(whole, binding_.shownLimit);
    std::string shown = from > 0 ? ui::leftOutNotice(from) + "\r\n" : std::string();
    shown.append(whole, from);
    applying_ = true;
    // What the user sees of a text cut short is no text to edit.
    SendMessageW(edit_, EM_SETREADONLY, from > 0, 0);
    setWindowText(edit_, shown);
    // The newest text is at the end: show it.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
    SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    applying_ = false;
    cut_ = from > 0;
    shown_ = true;
    shownRevision_ = text_->revision();
}

void TextWindow::takeText()
{
    if (applying_ || !text_ || cut_)
        return;
    // Runs the box's change handler (the append file, the link log) before returning.
    takingUsersText_ = true;
    text_->setText(windowText(edit_));
    takingUsersText_ = false;
    shownRevision_ = text_->revision();
}

bool TextWindow::cancel()
{
    if (binding_.onButton)
        binding_.onButton();
    return true;
}

LRESULT TextWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == kEditId && code == EN_CHANGE) {
            takeText();
            return 0;
        }
        if (id == kButtonId && code == BN_CLICKED) {
            cancel();
            return 0;
        }
    }
    return NativeWindow::handleMessage(message, wParam, lParam);
}

LRESULT CALLBACK TextWindow::editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TextWindow*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(edit, message, wParam, lParam);
    const WNDPROC original = self->editDefault_;
    if (message == WM_SETCURSOR && self->binding_.onDoubleClick && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // the pointing hand
        return TRUE;
    }
    if (message == WM_LBUTTONDBLCLK && self->binding_.onDoubleClick) {
        // The edit control selects the word under the pointer first.
        const LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        // The selection counts UTF-16 units of what the box shows.
        const std::wstring shown = platform::win32::toWide(windowText(edit));
        if (self->text_ && start <= end && end <= shown.size()) {
            self->text_->selectedText = platform::win32::toUtf8(std::wstring_view(shown).substr(start, end - start));
            const auto handler = self->binding_.onDoubleClick;
            handler();
        }
        return result;
    }
    return CallWindowProcW(original, edit, message, wParam, lParam);
}

} // namespace twk::win32
