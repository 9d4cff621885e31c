#include "OptionsWindow.h"

#include "ControlBinding.h"
#include "configuration/FrmOptions.h"

#include <commctrl.h>

namespace twk::win32 {
namespace {

// Twips: the page area, and the rows and columns inside a page.
constexpr ui::Bounds kPageArea{2040, 0, 6255, 3015};
constexpr float kRow = 285;
constexpr float kLine = 255;
constexpr ui::Bounds kFolderButton{0, 0, 495, 375};

ui::Bounds row(float left, float top, int index, float width)
{
    return {left, top + index * kRow, width, kLine};
}

ui::Bounds at(ui::Bounds b, float left, float top)
{
    b.left = left;
    b.top = top;
    return b;
}

using Hint = void (configuration::FrmOptions::*)();

LRESULT CALLBACK hoverProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (message == WM_MOUSEMOVE)
        (*reinterpret_cast<std::function<void()>*>(data))();
    return DefSubclassProc(button, message, wParam, lParam);
}

} // namespace

OptionsWindow::OptionsWindow(configuration::FrmOptions& o, double twipsPerPixel)
    : NativeWindow(o, twipsPerPixel, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
      options_(o)
{
    bindList(*this, o.List1, {0, 0, 1935, 2985});
    title_ = bindLabel(*this, o.Label2, {0, 3045, 1935, 600}, SS_CENTER);
    // 18 points at the screen's resolution.
    const int dotsPerInch = static_cast<int>(1440 / twipsPerPixel);
    titleFont_ = CreateFontW(-MulDiv(18, dotsPerInch, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             L"MS Sans Serif");
    SendMessageW(title_, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    addGeneralPage();
    addClipboardPage();
    addLinkPage();
    bindHelpButton(*this, o.Command5, {2280, 3120, 1215, 495});
    bindButton(*this, o.Command4, {3720, 3120, 1335, 495});
    bindButton(*this, o.Command3, {5280, 3120, 1335, 495});
    bindButton(*this, o.Command2, {6840, 3120, 1335, 495});
    windowChanged();
}

OptionsWindow::~OptionsWindow()
{
    detach();
    if (titleFont_)
        DeleteObject(titleFont_);
}

void OptionsWindow::addGeneralPage()
{
    auto& o = options_;
    HWND page = addPage(kPageArea);
    bindFrame(*this, o.Frame1, page, {0, 0, kPageArea.width, kPageArea.height});
    int line = 0;
    for (auto* box : {&o.Check1, &o.Check2, &o.Check3, &o.Check7, &o.chkXYPOS, &o.Check12, &o.Check13,
                      &o.Check14})
        bindCheck(*this, *box, row(120, 240, line++, 3000), page);
    bindLabel(*this, o.Label1, {3120, 240, 3060, kLine}, SS_LEFT, page);
    line = 0;
    bool first = true;
    for (auto* option : {&o.Option1, &o.Option2, &o.Option3, &o.Option4, &o.Option5}) {
        bindOption(*this, *option, row(3360, 555, line++, 2700), first, page);
        first = false;
    }
    bindButton(*this, o.cmdPickViewer, {3360, 2100, 1215, 375}, "", page);
}

void OptionsWindow::addClipboardPage()
{
    auto& o = options_;
    HWND page = addPage(kPageArea);
    bindFrame(*this, o.Frame3, page, {0, 0, kPageArea.width, kPageArea.height});
    int line = 0;
    for (auto* box : {&o.Check5, &o.Check9, &o.Check10, &o.Check11})
        bindCheck(*this, *box, row(120, 240, line++, 3600), page);
    bindButton(*this, o.cmdAMLFPATH, at(kFolderButton, 3840, 240 + 3 * kRow - 60), "...", page);
    line = 0;
    bool first = true;
    for (auto* option : {&o.Option6, &o.Option7, &o.Option8}) {
        bindOption(*this, *option, row(120, 1500, line++, 5900), first, page);
        first = false;
    }
    hintOnHover(bindButton(*this, o.Command1, at(kFolderButton, 120, 2460), "...", page),
                &configuration::FrmOptions::Command1_MouseMove);
}

void OptionsWindow::addLinkPage()
{
    auto& o = options_;
    HWND page = addPage(kPageArea);
    bindFrame(*this, o.Frame2, page, {0, 0, kPageArea.width, kPageArea.height});
    int line = 0;
    for (auto* box : {&o.Check4, &o.Check8, &o.Check6})
        bindCheck(*this, *box, row(120, 240, line++, 5900), page);
    bindOption(*this, o.Option9, row(120, 1200, 0, 5900), true, page);
    bindOption(*this, o.Option10, row(120, 1200, 1, 5900), false, page);
    hintOnHover(bindButton(*this, o.Command8, at(kFolderButton, 120, 1860), "...", page),
                &configuration::FrmOptions::Command8_MouseMove);
}

void OptionsWindow::hintOnHover(HWND button, Hint hint)
{
    auto* handler = new std::function<void()>([this, hint] {
        if (attached())
            (options_.*hint)();
    });
    SetWindowSubclass(button, hoverProcedure, 1, reinterpret_cast<DWORD_PTR>(handler));
    whenDetached([button, handler] {
        RemoveWindowSubclass(button, hoverProcedure, 1);
        delete handler;
    });
}

bool OptionsWindow::cancel()
{
    // Esc presses "&Cancel".
    options_.Command3.click();
    return true;
}

LRESULT OptionsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == title_) {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return NativeWindow::handleMessage(message, wParam, lParam);
}

} // namespace twk::win32
