#include "Win32Tray.h"

#include "platform/win32/Utf16.h"
#include "ui/Menu.h"

#include <algorithm>
#include <map>

namespace twk::win32 {
namespace {

using platform::win32::toWide;

constexpr const wchar_t* kMainClass = L"TwkHiddenMain";
constexpr const wchar_t* kHookClass = L"TwkTrayHook";
constexpr const wchar_t* kMenuOwnerClass = L"TwkMenuOwner";
// Named, so that nothing takes it for the menu, which has no name.
constexpr const wchar_t* kMenuOwnerCaption = L"TWK menu";
constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;
constexpr std::size_t kTipLength = 64;

#ifndef _WIN64
// The shell's first form of the record, wide: the form this program fills.
static_assert(NOTIFYICONDATAW_V1_SIZE == 152);
#endif

using Entries = std::map<UINT, ui::MenuEntry*>;

void addEntries(HMENU menu, std::vector<ui::MenuEntry>& entries, Entries& ids)
{
    for (auto& entry : entries) {
        if (!entry.children.empty()) {
            HMENU submenu = CreatePopupMenu();
            addEntries(submenu, entry.children, ids);
            AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), toWide(entry.caption).c_str());
            continue;
        }
        const UINT id = static_cast<UINT>(ids.size() + 1);
        ids[id] = &entry;
        AppendMenuW(menu, MF_STRING, id, toWide(entry.caption).c_str());
    }
}

} // namespace

// Under X (Wine) only a mapped window can take the keyboard focus, so a tray
// menu's owner is a window of one pixel under the pointer, made for that menu
// alone: a window once active is left to the window manager's focus rules
// the next time it shows, and the hidden main window never shows.
HWND Win32Tray::showMenuOwner(POINT at) const
{
    const HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMenuOwnerClass, kMenuOwnerCaption, WS_POPUP,
                                       at.x, at.y, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!owner)
        return main_;
    ShowWindow(owner, SW_SHOWNOACTIVATE);
    // Wine's X driver stamps the focus request with the time of the last
    // message this thread read, and the click on the icon came as a sent
    // message, which has none; the X server ignores a request older than its
    // last change of focus. A message posted and read now makes it current.
    PostMessageW(owner, WM_NULL, 0, 0);
    MSG now{};
    PeekMessageW(&now, owner, WM_NULL, WM_NULL, PM_REMOVE);
    return owner;
}

Win32Tray::Win32Tray(HINSTANCE instance, HICON icon, double twipsPerPixelX)
    : icon_(icon), twipsPerPixelX_(twipsPerPixelX)
{
    WNDCLASSW main{};
    main.lpfnWndProc = mainProcedure;
    main.hInstance = instance;
    main.lpszClassName = kMainClass;
    main.hIcon = icon;
    RegisterClassW(&main);
    WNDCLASSW hook{};
    hook.lpfnWndProc = hookProcedure;
    hook.hInstance = instance;
    hook.lpszClassName = kHookClass;
    RegisterClassW(&hook);
    WNDCLASSW menuOwner{};
    menuOwner.lpfnWndProc = DefWindowProcW;
    menuOwner.hInstance = instance;
    menuOwner.lpszClassName = kMenuOwnerClass;
    RegisterClassW(&menuOwner);

    main_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainClass, L"TWK", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                            nullptr);
    hook_ = CreateWindowExW(0, kHookClass, L"pichook", WS_CHILD, 0, 0, 0, 0, main_, nullptr, instance, nullptr);
    SetWindowLongPtrW(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hook_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Tray::~Win32Tray()
{
    if (hook_)
        SetWindowLongPtrW(hook_, GWLP_USERDATA, 0);
    if (main_)
        SetWindowLongPtrW(main_, GWLP_USERDATA, 0);
    if (main_)
        DestroyWindow(main_);
}

void Win32Tray::setRecordKey()
{
    record_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record_.hWnd = hook_;
    record_.uID = kIconId;
}

bool Win32Tray::addIcon(const std::string& tip)
{
    record_ = {};
    setRecordKey();
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kCallbackMessage;
    record_.hIcon = icon_;
    // The tip, a NUL, then blanks up to the field's 64 characters.
    std::fill_n(record_.szTip, kTipLength, L' ');
    const std::wstring wide = toWide(tip);
    std::size_t length = std::min(wide.size(), kTipLength - 1);
    // A character of two units is kept whole or left out.
    if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 && wide[length - 1] <= 0xDBFF)
        --length;
    std::copy_n(wide.data(), length, record_.szTip);
    record_.szTip[length] = L'\0';
    return Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
}

void Win32Tray::removeIcon()
{
    setRecordKey();
    Shell_NotifyIconW(NIM_DELETE, &record_);
}

void Win32Tray::popup(ui::Menu& menu)
{
    HMENU shown = CreatePopupMenu();
    Entries ids;
    addEntries(shown, menu.entries, ids);
    POINT at{};
    GetCursorPos(&at);
    // The menu's owner goes to the foreground, or the menu would neither take
    // the keyboard nor close when the user clicks elsewhere.
    const HWND owner = showMenuOwner(at);
    SetForegroundWindow(owner);
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(shown, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    // A message after the menu lets it close for good; the owner is gone by
    // the time it is read, so it goes to the lasting main window.
    PostMessageW(main_, WM_NULL, 0, 0);
    if (owner != main_)
        DestroyWindow(owner);
    DestroyMenu(shown);
    const auto it = ids.find(chosen);
    if (it == ids.end() || !it->second->onClick)
        return;
    // The handler may end the program, and with it the menu it came from.
    const auto handler = it->second->onClick;
    handler();
}

LRESULT CALLBACK Win32Tray::hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = reinterpret_cast<Win32Tray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kCallbackMessage && tray && tray->onMouseMove) {
        // A mouse move's horizontal coordinate, in pixels, made twips as for any mouse event.
        const auto x = static_cast<short>(LOWORD(lParam));
        tray->onMouseMove(static_cast<float>(x * tray->twipsPerPixelX_));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace twk::win32

namespace twk::win32 {

LRESULT CALLBACK Win32Tray::mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = reinterpret_cast<Win32Tray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const bool closing = message == WM_CLOSE || (message == WM_ENDSESSION && wParam);
    if (closing && tray && tray->onSystemClose) {
        // The program closes its main window itself: its shutdown saves the placements.
        const auto close = tray->onSystemClose;
        close();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace twk::win32
