#include "Win32Dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace twk::win32 {
namespace {

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
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | iconStyle(icon) | MB_TASKMODAL | MB_SETFOREGROUND);
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
    std::vector<char> file(32768, '\0');
    std::copy_n(request.fileName.begin(), std::min(request.fileName.size(), file.size() - 1), file.begin());
    const std::string filter = fileDialogFilter(request.filter);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (request.fileMustExist)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    if (request.pathMustExist)
        dialog.Flags |= OFN_PATHMUSTEXIST;
    if (request.promptToCreate)
        dialog.Flags |= OFN_CREATEPROMPT;
    if (!GetOpenFileNameA(&dialog))
        return request.fileName;
    return file.data();
}

} // namespace twk::win32
