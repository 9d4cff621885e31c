#include "Win32Tray.h"

#include "ui/Menu.h"

#include <cstring>
#include <map>

namespace twk::win32 {
namespace {

constexpr const char* kMainClass = "TwkHiddenMain";
constexpr const char* kHookClass = "TwkTrayHook";
constexpr const char* kMenuOwnerClass = "TwkMenuOwner";
// Named, so that nothing takes it for the menu, which has no name.
constexpr const char* kMenuOwnerCaption = "TWK menu";
constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;
constexpr std::size_t kTipLength = 64;

#ifndef _WIN64
// The shell's first, ANSI form of the record: the form this program fills.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88);
#endif

using Entries = std::map<UINT, ui::MenuEntry*>;

void addEntries(HMENU menu, std::vector<ui::MenuEntry>& entries, Entries& ids)
{
    for (auto& entry : entries) {
        if (!entry.children.empty()) {
            HMENU submenu = CreatePopupMenu();
            addEntries(submenu, entry.children, ids);
            AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), entry.caption.c_str());
            continue;
        }
        const UINT id = static_cast<UINT>(ids.size() + 1);
        ids[id] = &entry;
        AppendMenuA(menu, MF_STRING, id, entry.caption.c_str());
    }
}

} // namespace

// Under X (Wine) only a mapped window can take the keyboard focus, so a tray
// menu's owner is a window of one pixel under the pointer, made for that menu
// alone: a window once active is left to the window manager's focus rules
// the next time it shows, and the hidden main window never shows.
HWND Win32Tray::showMenuOwner(POINT at) const
{
    const HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMenuOwnerClass, kMenuOwnerCaption, WS_POPUP,
                                       at.x, at.y, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!owner)
        return main_;
    ShowWindow(owner, SW_SHOWNOACTIVATE);
    // Wine's X driver stamps the focus request with the time of the last
    // message this thread read, and the click on the icon came as a sent
    // message, which has none; the X server ignores a request older than its
    // last change of focus. A message posted and read now makes it current.
    PostMessageA(owner, WM_NULL, 0, 0);
    MSG now{};
    PeekMessageA(&now, owner, WM_NULL, WM_NULL, PM_REMOVE);
    return owner;
}

Win32Tray::Win32Tray(HINSTANCE instance, HICON icon, double twipsPerPixelX)
    : icon_(icon), twipsPerPixelX_(twipsPerPixelX)
{
    WNDCLASSA main{};
    main.lpfnWndProc = mainProcedure;
    main.hInstance = instance;
    main.lpszClassName = kMainClass;
    main.hIcon = icon;
    RegisterClassA(&main);
    WNDCLASSA hook{};
    hook.lpfnWndProc = hookProcedure;
    hook.hInstance = instance;
    hook.lpszClassName = kHookClass;
    RegisterClassA(&hook);
    WNDCLASSA menuOwner{};
    menuOwner.lpfnWndProc = DefWindowProcA;
    menuOwner.hInstance = instance;
    menuOwner.lpszClassName = kMenuOwnerClass;
    RegisterClassA(&menuOwner);

    main_ =
        CreateWindowExA(WS_EX_TOOLWINDOW, kMainClass, "TWK", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    hook_ = CreateWindowExA(0, kHookClass, "pichook", WS_CHILD, 0, 0, 0, 0, main_, nullptr, instance, nullptr);
    SetWindowLongPtrA(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hook_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Tray::~Win32Tray()
{
    if (hook_)
        SetWindowLongPtrA(hook_, GWLP_USERDATA, 0);
    if (main_)
        SetWindowLongPtrA(main_, GWLP_USERDATA, 0);
    if (main_)
        DestroyWindow(main_);
}

void Win32Tray::setRecordKey()
{
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
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
    std::memset(record_.szTip, ' ', kTipLength);
    const std::size_t length = std::min(tip.size(), kTipLength - 1);
    std::memcpy(record_.szTip, tip.data(), length);
    record_.szTip[length] = '\0';
    return Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
}

void Win32Tray::removeIcon()
{
    setRecordKey();
    Shell_NotifyIconA(NIM_DELETE, &record_);
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
    PostMessageA(main_, WM_NULL, 0, 0);
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
    auto* tray = reinterpret_cast<Win32Tray*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kCallbackMessage && tray && tray->onMouseMove) {
        // A mouse move's horizontal coordinate, in pixels, made twips as for any mouse event.
        const auto x = static_cast<short>(LOWORD(lParam));
        tray->onMouseMove(static_cast<float>(x * tray->twipsPerPixelX_));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace twk::win32

namespace twk::win32 {

LRESULT CALLBACK Win32Tray::mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = reinterpret_cast<Win32Tray*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool closing = message == WM_CLOSE || (message == WM_ENDSESSION && wParam);
    if (closing && tray && tray->onSystemClose) {
        // The program closes its main window itself: its shutdown saves the placements.
        const auto close = tray->onSystemClose;
        close();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace twk::win32
