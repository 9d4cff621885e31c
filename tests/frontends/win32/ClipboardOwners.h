#pragma once

// Clipboard owners for the tests of the Windows clipboard, on the Wine prefix's
// one clipboard: windows that put formats, rendered at once or on demand.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace twk::win32 {

inline std::atomic<int> renderRequests{0};
inline const wchar_t kRendered[] = L"rendered on demand";

inline HGLOBAL blockOf(const void* data, std::size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

inline HGLOBAL textBlock(const std::wstring& text)
{
    return blockOf(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

inline HGLOBAL dwordBlock(DWORD value)
{
    return blockOf(&value, sizeof value);
}

// An owner that renders CF_UNICODETEXT when asked, and counts the asking.
inline LRESULT CALLBACK renderingOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RENDERFORMAT) {
        ++renderRequests;
        SetClipboardData(static_cast<UINT>(wParam), textBlock(kRendered));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline HWND makeOwner()
{
    static const ATOM ownerClass = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = renderingOwner;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TWK3TestOwner";
        return RegisterClassW(&cls);
    }();
    return ownerClass ? CreateWindowExW(0, L"TWK3TestOwner", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), nullptr)
                      : nullptr;
}

struct Format {
    UINT id;
    HGLOBAL data; // nullptr: rendered on demand
};

inline void put(HWND owner, std::vector<Format> formats)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    for (const auto& format : formats)
        SetClipboardData(format.id, format.data);
    CloseClipboard();
}

inline UINT registered(const char* name)
{
    return RegisterClipboardFormatA(name);
}

// Answers the calling thread's windows for a moment, as a program's message loop does.
inline void pumpMessages()
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// The clipboard's CF_UNICODETEXT, or "(none)".
inline std::wstring clipboardText()
{
    std::wstring text = L"(none)";
    if (!OpenClipboard(nullptr))
        return L"(not opened)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace twk::win32
