#include "AboutWindow.h"

#include "ControlBinding.h"
#include "about/FrmAbout.h"

namespace twk::win32 {
namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr int kProgramIcon = 1;

} // namespace

AboutWindow::AboutWindow(about::FrmAbout& a, double twipsPerPixel)
    : NativeWindow(a, twipsPerPixel, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), about_(a),
      grey_(CreateSolidBrush(kGrey))
{
    HWND icon = addControl(L"STATIC", "", SS_ICON, {240, 240, 540, 540}, 0);
    SendMessageW(icon, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon),
                                                     IMAGE_ICON, pixels(540), pixels(540), 0)),
                 0);
    bindLabel(*this, a.lblTitle, {1050, 240, 3885, 480});
    bindLabel(*this, a.lblVersion, {1050, 780, 3885, 225});
    bindLabel(*this, a.lblDescription, {1050, 1125, 4485, 810});
    bindLabel(*this, a.lblDisclaimer, {240, 2385, 3870, 1305});
    bindHelpButton(*this, a.Command1, {4320, 2880, 1215, 375});
    HWND ok = bindButton(*this, a.cmdOK, {4320, 3360, 1260, 345});
    SendMessageW(ok, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    link_ = bindLabel(*this, a.Text1, {120, 3720, 5415, 375}, SS_LEFT | SS_NOTIFY | SS_CENTERIMAGE);
    const int linkId = registerCommand([this](int code, HWND) {
        if (code == STN_CLICKED)
            about_.Text1_Click();
    });
    SetWindowLongPtrW(link_, GWLP_ID, linkId);
    windowChanged();
}

AboutWindow::~AboutWindow()
{
    detach();
    DeleteObject(grey_);
}

bool AboutWindow::cancel()
{
    about_.cmdOK.click();
    return true;
}

bool AboutWindow::accept()
{
    about_.cmdOK.click();
    return true;
}

void AboutWindow::paintRule()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle(), &paint);
    // An etched rule: a grey line, and a white one a pixel lower.
    const int y = pixels(2160);
    HPEN grey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, grey);
    MoveToEx(dc, pixels(90), y, nullptr);
    LineTo(dc, pixels(5654), y);
    SelectObject(dc, white);
    MoveToEx(dc, pixels(120), y + 1, nullptr);
    LineTo(dc, pixels(5669), y + 1);
    SelectObject(dc, old);
    DeleteObject(grey);
    DeleteObject(white);
    EndPaint(handle(), &paint);
}

LRESULT AboutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, grey_);
        return 1;
    }
    case WM_PAINT:
        paintRule();
        return 0;
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        // Black labels, and a blue link, on the window's grey.
        SetTextColor(dc, reinterpret_cast<HWND>(lParam) == link_ ? RGB(0, 0, 255) : RGB(0, 0, 0));
        SetBkColor(dc, kGrey);
        return reinterpret_cast<LRESULT>(grey_);
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == link_) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // the pointing hand
            return TRUE;
        }
        break;
    default:
        break;
    }
    return NativeWindow::handleMessage(message, wParam, lParam);
}

} // namespace twk::win32
