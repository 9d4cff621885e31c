#include "BrowserWindow.h"

#include "ControlBinding.h"
#include "WindowText.h"
#include "configuration/FrmFileBrowser.h"
#include "platform/PathRules.h"
#include "platform/win32/Utf16.h"

#include <algorithm>

namespace twk::win32 {
namespace {

constexpr const char* kParent = "..";
constexpr UINT kOpenSelected = WM_APP + 1;

} // namespace

std::string folderOpenedBy(const std::string& current, const std::string& entry)
{
    if (entry != kParent)
        return platform::withTrailingSeparator(current) + entry;
    std::string folder = current;
    while (folder.size() > 3 && platform::endsWithSeparator(folder))
        folder.pop_back();
    const auto slash = folder.find_last_of('\\');
    if (slash == std::string::npos)
        return current;
    // The root keeps its backslash: "C:\".
    return folder.substr(0, slash < 3 ? 3 : slash);
}

BrowserWindow::BrowserWindow(configuration::FrmFileBrowser& b, double twipsPerPixel)
    : NativeWindow(b, twipsPerPixel, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), browser_(b)
{
    const int driveId = registerCommand([this](int code, HWND widget) {
        if (code != CBN_SELCHANGE)
            return;
        const auto index = SendMessageW(widget, CB_GETCURSEL, 0, 0);
        const auto& drives = browser_.Drive1.items();
        if (index >= 0 && static_cast<std::size_t>(index) < drives.size())
            browser_.chooseDrive(drives[static_cast<std::size_t>(index)]);
    });
    // The height of a drop-down list includes its open list.
    drives_ = addControl(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {120, 120, 4335, 2400}, driveId);
    const int folderId = registerCommand([this](int code, HWND) {
        // Opened once the list has finished with the click that asked for it.
        if (code == LBN_DBLCLK)
            PostMessageW(handle(), kOpenSelected, 0, 0);
    });
    folders_ =
        addControl(L"LISTBOX", "", LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, {120, 480, 4335, 2565}, folderId);
    path_ = addControl(L"EDIT", "", ES_AUTOHSCROLL | ES_READONLY | WS_BORDER, browser_.Text1.bounds(), 0);
    // A folder's name may be in any script: a font of the system's dialogs,
    // which the system links to others for the characters it lacks.
    bold_ = CreateFontW(-MulDiv(8, static_cast<int>(1440 / twipsPerPixel), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
    SendMessageW(path_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
    bindButton(*this, b.Command1, {1920, 3720, 1215, 495});
    bindButton(*this, b.Command2, {3240, 3720, 1215, 495});

    b.onFoldersShown = [this] { showFolders(); };
    // The drive list is filled when the window loads, after this window exists.
    b.Drive1.onDisplay = [this] { showFolders(); };
    b.Text1.onDisplay = [this] { showPath(); };
    showFolders();
    showPath();
    windowChanged();
}

BrowserWindow::~BrowserWindow()
{
    detach();
    if (bold_)
        DeleteObject(bold_);
}

void BrowserWindow::detach()
{
    if (attached()) {
        browser_.onFoldersShown = nullptr;
        browser_.Drive1.onDisplay = nullptr;
        browser_.Text1.onDisplay = nullptr;
    }
    NativeWindow::detach();
}

void BrowserWindow::windowChanged()
{
    if (attached())
        showFolders();
    NativeWindow::windowChanged();
}

void BrowserWindow::showFolders()
{
    SendMessageW(drives_, CB_RESETCONTENT, 0, 0);
    const auto& drives = browser_.Drive1.items();
    for (std::size_t i = 0; i < drives.size(); ++i) {
        SendMessageW(drives_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::toWide(drives[i]).c_str()));
        if (drives[i] == browser_.drive())
            SendMessageW(drives_, CB_SETCURSEL, i, 0);
    }
    SendMessageW(folders_, LB_RESETCONTENT, 0, 0);
    const auto& path = browser_.Dir1.path;
    if (!(path.size() == 3 && path[1] == ':'))
        SendMessageW(folders_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L".."));
    for (const auto& name : browser_.Dir1.subfolders)
        SendMessageW(folders_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::toWide(name).c_str()));
}

void BrowserWindow::showPath()
{
    const auto& text = browser_.Text1;
    setWindowText(path_, text.text());
    ShowWindow(path_, text.visible() ? SW_SHOWNA : SW_HIDE);
    EnableWindow(path_, text.enabled());
}

void BrowserWindow::openSelected()
{
    const auto index = SendMessageW(folders_, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return;
    const LRESULT length = SendMessageW(folders_, LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return;
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    name.resize(static_cast<std::size_t>(
        std::max<LRESULT>(0, SendMessageW(folders_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name.data())))));
    browser_.openFolder(folderOpenedBy(browser_.Dir1.path, platform::win32::toUtf8(name)));
}

LRESULT BrowserWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kOpenSelected) {
        if (attached())
            openSelected();
        return 0;
    }
    return NativeWindow::handleMessage(message, wParam, lParam);
}

bool BrowserWindow::cancel()
{
    browser_.Command1.click();
    return true;
}

bool BrowserWindow::accept()
{
    // Enter in the folder list opens the folder, as a double-click does.
    if (GetFocus() == folders_) {
        PostMessageW(handle(), kOpenSelected, 0, 0);
        return true;
    }
    return false;
}

} // namespace twk::win32
