#pragma once

#include <windows.h>

namespace twk::win32 {

// The clipboard open for one operation of `window`'s thread, closed at the end
// of the scope. A program that has just changed the clipboard (or our own
// reading thread copying a text out) may hold it for a moment: the open is
// tried a few times over about 200 ms before it counts as failed.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND window)
    {
        for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
            if (attempt)
                Sleep(kRetryMs);
            open_ = OpenClipboard(window) != FALSE;
        }
    }
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    static constexpr int kAttempts = 10;
    static constexpr DWORD kRetryMs = 20;
    bool open_ = false;
};

} // namespace twk::win32
