#pragma once

#include <windows.h>

#include <algorithm>

namespace twk::win32 {

// The clipboard open for one operation of `window`'s thread, closed at the end
// of the scope. A program that has just changed the clipboard (or our own
// reading thread copying a text out) may hold it for a moment: the open is
// tried again a millisecond later, then less and less often, for about 200 ms
// before it counts as failed. A copy made in a burst is replaced by the next
// within milliseconds: the first tries come soon.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND window)
    {
        DWORD pause = 0;
        for (DWORD waited = 0; !(open_ = OpenClipboard(window) != FALSE) && waited < kPatienceMs; waited += pause) {
            pause = pause ? std::min(pause * 2, kLongestPauseMs) : 1;
            Sleep(pause);
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
    static constexpr DWORD kPatienceMs = 200;
    static constexpr DWORD kLongestPauseMs = 20;
    bool open_ = false;
};

} // namespace twk::win32
