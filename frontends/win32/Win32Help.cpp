#include "Win32Help.h"

#include "platform/PathRules.h"
#include "platform/win32/Utf16.h"
#include "shell/Program.h"

#include <windows.h>

#include <htmlhelp.h>
#include <shellapi.h>

namespace twk::win32 {
namespace {

using platform::win32::toWide;
using HtmlHelpCall = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The HTML help control is loaded when help is first asked for: the program
// starts without it, and the viewer program stands in where it is missing.
HtmlHelpCall htmlHelp()
{
    static const HtmlHelpCall call = [] {
        HMODULE control = LoadLibraryW(L"hhctrl.ocx");
        return control ? reinterpret_cast<HtmlHelpCall>(reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpW")))
                       : nullptr;
    }();
    return call;
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::string helpMissingMessage(const std::string& helpFile)
{
    return "The help file " + helpFile + " was not found. Reinstall the program to get it back.";
}

void ShowHtmlHelp(const std::string& programFolder, platform::Dialogs& dialogs)
{
    const std::string file = platform::withTrailingSeparator(programFolder) + kHelpFileName;
    const std::wstring wide = toWide(file);
    // Both the help control and its viewer open an empty window for a missing file.
    if (!isFile(wide)) {
        dialogs.message(helpMissingMessage(file), platform::MessageIcon::Exclamation, shell::kApplicationTitle);
        return;
    }
    if (const auto call = htmlHelp(); call && call(GetDesktopWindow(), wide.c_str(), HH_DISPLAY_TOPIC, 0))
        return;
    ShellExecuteW(nullptr, L"open", L"hh.exe", (L"\"" + wide + L"\"").c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace twk::win32
