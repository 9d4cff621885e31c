#include "NativeWindow.h"

#include "WindowText.h"
#include "platform/win32/Utf16.h"

#include <commctrl.h>

#include <cmath>

namespace twk::win32 {
namespace {

constexpr const wchar_t* kWindowClass = L"TwkWindow";
constexpr const wchar_t* kPageClass = L"TwkPage";
constexpr int kFirstCommandId = 1000;

// A page passes its controls' commands and colour requests on to the window.
LRESULT CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(page), message, wParam, lParam);
    default:
        return DefWindowProcW(page, message, wParam, lParam);
    }
}

void registerClass(HINSTANCE instance)
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW cls{};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = instance;
    cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kWindowClass;
    registered = RegisterClassW(&cls) != 0;
    cls.style = 0;
    cls.lpfnWndProc = pageProcedure;
    cls.hIcon = nullptr;
    cls.lpszClassName = kPageClass;
    RegisterClassW(&cls);
}

UINT showCommand(const ui::Window& window, HWND handle)
{
    if (!window.visible())
        return SW_HIDE;
    switch (window.state()) {
    case ui::WindowState::Minimized:
        return SW_SHOWMINNOACTIVE;
    case ui::WindowState::Maximized:
        return SW_SHOWMAXIMIZED;
    case ui::WindowState::Normal:
        break;
    }
    if (IsIconic(handle) || IsZoomed(handle))
        return SW_RESTORE;
    return IsWindowVisible(handle) ? SW_SHOWNA : SW_SHOWNORMAL;
}

} // namespace

NativeWindow::NativeWindow(ui::Window& window, double twipsPerPixel, DWORD style)
    : window_(&window), twipsPerPixel_(twipsPerPixel)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance);
    handle_ = CreateWindowExW(0, kWindowClass, platform::win32::toWide(window.caption()).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    window.attach(this);
}

NativeWindow::~NativeWindow()
{
    detach();
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
}

NativeWindow* NativeWindow::of(HWND handle)
{
    if (!handle)
        return nullptr;
    wchar_t name[32] = {};
    GetClassNameW(handle, name, 32);
    if (std::wstring(name) != kWindowClass)
        return nullptr;
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

void NativeWindow::detach()
{
    onTimer = nullptr;
    onHelp = nullptr;
    commands_.clear();
    for (auto& release : releases_)
        release();
    releases_.clear();
    if (window_)
        window_->attach(nullptr);
    window_ = nullptr;
}

int NativeWindow::pixels(float value) const
{
    return static_cast<int>(std::lround(value / twipsPerPixel_));
}

float NativeWindow::twips(int value) const
{
    return static_cast<float>(value * twipsPerPixel_);
}

void NativeWindow::windowChanged()
{
    if (!window_)
        return;
    applying_ = true;
    setWindowText(handle_, window_->caption());
    // The program's bounds are the outer ones, as a window's rectangle is.
    const auto& b = window_->bounds();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(handle_, &placement);
    placement.flags = 0;
    placement.showCmd = showCommand(*window_, handle_);
    placement.rcNormalPosition = {pixels(b.left), pixels(b.top), pixels(b.left) + std::max(1, pixels(b.width)),
                                  pixels(b.top) + std::max(1, pixels(b.height))};
    SetWindowPlacement(handle_, &placement);
    EnableWindow(handle_, window_->enabled());
    applying_ = false;
}

void NativeWindow::bringToFront()
{
    if (IsIconic(handle_))
        ShowWindow(handle_, SW_RESTORE);
    SetForegroundWindow(handle_);
    BringWindowToTop(handle_);
}

void NativeWindow::reportBounds()
{
    if (applying_ || !window_ || !IsWindowVisible(handle_) || IsIconic(handle_) || IsZoomed(handle_))
        return;
    RECT outer{};
    GetWindowRect(handle_, &outer);
    window_->userChangedBounds(
        {twips(outer.left), twips(outer.top), twips(outer.right - outer.left), twips(outer.bottom - outer.top)});
}

void NativeWindow::reportState(WPARAM sizeType)
{
    if (applying_ || !window_)
        return;
    if (sizeType == SIZE_MINIMIZED)
        window_->userChangedState(ui::WindowState::Minimized);
    else if (sizeType == SIZE_MAXIMIZED)
        window_->userChangedState(ui::WindowState::Maximized);
    else if (sizeType == SIZE_RESTORED)
        window_->userChangedState(ui::WindowState::Normal);
}

bool NativeWindow::handleKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || !window_)
        return false;
    switch (message.wParam) {
    case VK_F1:
        if (onHelp)
            onHelp();
        return true;
    case VK_ESCAPE:
        return cancel();
    case VK_RETURN:
        return accept();
    default:
        return false;
    }
}

HWND NativeWindow::addControl(const wchar_t* windowClass, std::string_view text, DWORD style, const ui::Bounds& place,
                              int id, HWND parent, DWORD extendedStyle)
{
    HWND control = CreateWindowExW(
        extendedStyle, windowClass, platform::win32::toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
        pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height), parent ? parent : handle_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    setFont(control);
    return control;
}

HWND NativeWindow::addPage(const ui::Bounds& place)
{
    return addControl(kPageClass, "", WS_CLIPSIBLINGS, place, 0, nullptr, WS_EX_CONTROLPARENT);
}

int NativeWindow::registerCommand(std::function<void(int code, HWND control)> handler)
{
    const int id = kFirstCommandId + static_cast<int>(commands_.size());
    commands_[id] = std::move(handler);
    return id;
}

void NativeWindow::whenDetached(std::function<void()> release)
{
    releases_.push_back(std::move(release));
}

void NativeWindow::setTooltip(HWND control, const std::string& text)
{
    if (!tooltips_)
        tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    std::wstring wide = platform::win32::toWide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty())
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void NativeWindow::setFont(HWND control) const
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

LRESULT NativeWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOVE:
        reportBounds();
        return 0;
    case WM_SIZE:
        reportState(wParam);
        reportBounds();
        return 0;
    case WM_TIMER:
        if (window_ && onTimer) {
            // The tick may end the program: run it from a copy.
            const auto tick = onTimer;
            tick();
        }
        return 0;
    case WM_COMMAND: {
        const auto it = commands_.find(LOWORD(wParam));
        if (it == commands_.end())
            return DefWindowProcW(handle_, message, wParam, lParam);
        // The handler may close this window: run it from a copy.
        const auto handler = it->second;
        handler(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    }
    case WM_CLOSE:
        // The program decides: its windows hide, or close for real.
        if (window_)
            window_->requestClose();
        return 0;
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}

LRESULT CALLBACK NativeWindow::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(handle, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

} // namespace twk::win32
