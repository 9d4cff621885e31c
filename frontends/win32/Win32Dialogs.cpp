#include "Win32Dialogs.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace twk::win32 {
namespace {

using platform::win32::toUtf8;
using platform::win32::toWide;

UINT iconStyle(platform::MessageIcon icon)
{
    switch (icon) {
    case platform::MessageIcon::Information:
        return MB_ICONINFORMATION;
    case platform::MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case platform::MessageIcon::Critical:
        return MB_ICONHAND;
    case platform::MessageIcon::None:
        break;
    }
    return 0;
}

} // namespace

void Win32Dialogs::message(const std::string& text, platform::MessageIcon icon, const std::string& title)
{
    // Modal to every window of the program, and in front even when the
    // program is only a tray icon.
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(),
                MB_OK | iconStyle(icon) | MB_TASKMODAL | MB_SETFOREGROUND);
}

std::string fileDialogFilter(const std::string& filter)
{
    std::string pieces = filter;
    std::replace(pieces.begin(), pieces.end(), '|', '\0');
    pieces += '\0';
    pieces += '\0';
    return pieces;
}

std::string Win32Dialogs::openFile(const platform::OpenFileRequest& request)
{
    // Room for a long path: the dialog cuts nothing the system could open.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring fileName = toWide(request.fileName);
    std::copy_n(fileName.begin(), std::min(fileName.size(), file.size() - 1), file.begin());
    const std::wstring filter = toWide(fileDialogFilter(request.filter));
    const std::wstring title = toWide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (request.fileMustExist)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    if (request.pathMustExist)
        dialog.Flags |= OFN_PATHMUSTEXIST;
    if (request.promptToCreate)
        dialog.Flags |= OFN_CREATEPROMPT;
    if (!GetOpenFileNameW(&dialog))
        return request.fileName;
    return toUtf8(file.data());
}

} // namespace twk::win32
