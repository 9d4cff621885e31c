#include "Win32Clipboard.h"

#include "OpenClipboardScope.h"
#include "platform/win32/Utf16.h"

#include <cstring>

namespace twk::win32 {
namespace {

constexpr UINT kArrived = WM_APP + 1;
constexpr UINT kChanged = WM_APP + 2;
constexpr wchar_t kListenerClass[] = L"TWK3ClipboardListener";

} // namespace

Win32Clipboard::Win32Clipboard(HWND owner) : owner_(owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW cls{};
    cls.lpfnWndProc = listen;
    cls.hInstance = instance;
    cls.lpszClassName = kListenerClass;
    RegisterClassW(&cls);
    listener_ = CreateWindowExW(0, kListenerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!listener_)
        return;
    SetWindowLongPtrW(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const HWND listener = listener_;
    reader_ = ClipboardReader::start(owner_, {
                                                 [listener] { PostMessageW(listener, kChanged, 0, 0); },
                                                 [this, listener](ClipboardRead read) {
                                                     {
                                                         std::lock_guard lock(mutex_);
                                                         arrived_.push_back(std::move(read));
                                                     }
                                                     PostMessageW(listener, kArrived, 0, 0);
                                                 },
                                             });
}

Win32Clipboard::~Win32Clipboard()
{
    reader_.reset(); // no event comes from it after this
    if (listener_)
        DestroyWindow(listener_);
}

LRESULT CALLBACK Win32Clipboard::listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Clipboard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && (message == kArrived || message == kChanged)) {
        if (message == kArrived)
            self->takeArrived();
        if (self->onChange)
            self->onChange();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Clipboard::takeArrived()
{
    std::vector<ClipboardRead> arrived;
    {
        std::lock_guard lock(mutex_);
        arrived.swap(arrived_);
    }
    for (auto& read : arrived) {
        if (!read.requested)
            continue;
        asked_ = false;
        present_ = std::move(read);
        textTaken_ = false;
    }
}

ClipboardRead* Win32Clipboard::present()
{
    takeArrived();
    if (present_ && present_->result == ClipboardRead::Result::read && !textTaken_ &&
        present_->sequence == GetClipboardSequenceNumber())
        return &*present_;
    present_.reset();
    if (reader_ && !asked_) {
        asked_ = true;
        reader_->request();
    }
    return nullptr;
}

std::uint32_t Win32Clipboard::sequenceNumber()
{
    return GetClipboardSequenceNumber();
}

std::optional<platform::ClipboardMark> Win32Clipboard::mark()
{
    if (auto* read = present())
        return read->mark;
    return std::nullopt;
}

std::optional<std::string> Win32Clipboard::text()
{
    auto* read = present();
    if (!read)
        return std::nullopt;
    textTaken_ = true; // handed over, not copied: the next call reads again
    return std::move(read->text);
}

bool Win32Clipboard::hasText()
{
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

bool Win32Clipboard::setText(const std::string& text)
{
    // CF_UNICODETEXT ends at the first NUL; the rest could never be read back.
    const std::wstring wide = platform::win32::toWide(std::string_view(text.c_str()));
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return false;
    auto* units = static_cast<wchar_t*>(GlobalLock(block));
    if (!units) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(units, wide.c_str(), bytes);
    GlobalUnlock(block);

    OpenClipboardScope scope(owner_);
    if (!scope.open() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) {
        GlobalFree(block);
        return false;
    }
    return true; // the clipboard owns the block now
}

bool Win32Clipboard::clear()
{
    OpenClipboardScope scope(owner_);
    return scope.open() && EmptyClipboard() != FALSE;
}

} // namespace twk::win32
