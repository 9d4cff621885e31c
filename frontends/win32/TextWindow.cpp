#include "TextWindow.h"

#include <vector>

namespace twk::win32 {
namespace {

constexpr int kEditId = 100;
constexpr int kButtonId = 101;

} // namespace

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), static_cast<std::size_t>(std::max(0, copied)));
}

TextWindow::TextWindow(Binding binding)
    : NativeWindow(binding.window, binding.twipsPerPixel, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), text_(&binding.text),
      binding_(std::move(binding))
{
    // No scroll bars: the box covers the whole window, frame included.
    edit_ = addControl("EDIT", "",
                       ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_TABSTOP | WS_CLIPSIBLINGS,
                       text_->bounds(), kEditId);
    // No limit but memory's, as for a text the program sets.
    SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
    button_ = addControl("BUTTON", binding_.buttonCaption, BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS,
                         binding_.buttonPlace, kButtonId);
    // Under the box that covers the window: Esc and the close box do its work
    // without hiding the text.
    SetWindowPos(button_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editDefault_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure)));

    text_->onDisplay = [this] { refresh(); };
    refresh();
    windowChanged();
}

TextWindow::~TextWindow()
{
    detach();
    // The edit outlives this object by the base class's DestroyWindow.
    SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editDefault_));
    SetWindowLongPtrA(edit_, GWLP_USERDATA, 0);
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

void TextWindow::refresh()
{
    if (!text_)
        return;
    const auto& b = text_->bounds();
    MoveWindow(edit_, pixels(b.left), pixels(b.top), pixels(b.width), pixels(b.height), TRUE);
    if (windowText(edit_) == text_->text())
        return;
    applying_ = true;
    SetWindowTextA(edit_, text_->text().c_str());
    // The newest text is at the end: show it.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthA(edit_));
    SendMessageA(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
    applying_ = false;
}

void TextWindow::takeText()
{
    if (applying_ || !text_)
        return;
    // Runs the box's change handler (the append file, the link log) before returning.
    text_->setText(windowText(edit_));
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
    auto* self = reinterpret_cast<TextWindow*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(edit, message, wParam, lParam);
    const WNDPROC original = self->editDefault_;
    if (message == WM_SETCURSOR && self->binding_.onDoubleClick && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // the pointing hand
        return TRUE;
    }
    if (message == WM_LBUTTONDBLCLK && self->binding_.onDoubleClick) {
        // The edit control selects the word under the pointer first.
        const LRESULT result = CallWindowProcA(original, edit, message, wParam, lParam);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const std::string text = windowText(edit);
        if (self->text_ && start <= end && end <= text.size()) {
            self->text_->selectedText = text.substr(start, end - start);
            const auto handler = self->binding_.onDoubleClick;
            handler();
        }
        return result;
    }
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

} // namespace twk::win32
