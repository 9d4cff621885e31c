#include "Win32Clipboard.h"

#include <shellapi.h>

#include <cstring>

namespace twk::win32 {
namespace {

// Open for the length of one operation; another program holding the clipboard
// makes the operation fail, and the next polling tick is the retry.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

// Formats an owner adds to say "keep this out of any history": password
// managers offer them beside a secret's text.
bool offersSecret()
{
    for (const char* name : {"ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore"}) {
        const UINT format = RegisterClipboardFormatA(name);
        if (format && IsClipboardFormatAvailable(format))
            return true;
    }
    return false;
}

constexpr const char* kListenerClass = "TWK3ClipboardListener";

} // namespace

Win32Clipboard::Win32Clipboard(HWND owner) : owner_(owner)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA cls{};
    cls.lpfnWndProc = listen;
    cls.hInstance = instance;
    cls.lpszClassName = kListenerClass;
    RegisterClassA(&cls);
    listener_ = CreateWindowExA(0, kListenerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!listener_)
        return;
    SetWindowLongPtrA(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Without the announcements the polling timer never sleeps, and loses nothing.
    if (!AddClipboardFormatListener(listener_)) {
        DestroyWindow(listener_);
        listener_ = nullptr;
    }
}

Win32Clipboard::~Win32Clipboard()
{
    if (!listener_)
        return;
    RemoveClipboardFormatListener(listener_);
    DestroyWindow(listener_);
}

LRESULT CALLBACK Win32Clipboard::listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLIPBOARDUPDATE)
        if (auto* self = reinterpret_cast<Win32Clipboard*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            self && self->onChange)
            self->onChange();
    return DefWindowProcA(window, message, wParam, lParam);
}

std::uint32_t Win32Clipboard::sequenceNumber()
{
    return GetClipboardSequenceNumber();
}

std::optional<platform::ClipboardMark> Win32Clipboard::mark()
{
    if (offersSecret())
        return platform::ClipboardMark::secret;
    if (IsClipboardFormatAvailable(CF_HDROP))
        return platform::ClipboardMark::fileList;
    return platform::ClipboardMark::none;
}

std::optional<std::string> Win32Clipboard::text()
{
    OpenClipboardScope scope(owner_);
    if (!scope.open())
        return std::nullopt;
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return std::string();
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data)
        return std::nullopt;
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes)
        return std::nullopt;
    // An owner may hand over a block without a closing NUL: never read past it.
    const std::size_t size = GlobalSize(data);
    const void* end = std::memchr(bytes, '\0', size);
    std::string text(bytes, end ? static_cast<const char*>(end) - bytes : size);
    GlobalUnlock(data);
    return text;
}

bool Win32Clipboard::hasText()
{
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

bool Win32Clipboard::setText(const std::string& text)
{
    // CF_TEXT ends at the first NUL; the rest could never be read back.
    const std::size_t length = std::strlen(text.c_str());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (!block)
        return false;
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.c_str(), length + 1);
    GlobalUnlock(block);

    OpenClipboardScope scope(owner_);
    if (!scope.open() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block)) {
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
