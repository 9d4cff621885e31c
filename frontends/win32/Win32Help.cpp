#include "Win32Help.h"

#include "platform/PathRules.h"

#include <windows.h>

#include <htmlhelp.h>
#include <shellapi.h>

namespace twk::win32 {
namespace {

using HtmlHelpCall = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML help control is loaded when help is first asked for: the program
// starts without it, and the viewer program stands in where it is missing.
HtmlHelpCall htmlHelp()
{
    static const HtmlHelpCall call = [] {
        HMODULE control = LoadLibraryA("hhctrl.ocx");
        return control ? reinterpret_cast<HtmlHelpCall>(reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpA")))
                       : nullptr;
    }();
    return call;
}

} // namespace

void ShowHtmlHelp(const std::string& programFolder)
{
    const std::string file = platform::withTrailingSeparator(programFolder) + kHelpFileName;
    if (const auto call = htmlHelp(); call && call(GetDesktopWindow(), file.c_str(), HH_DISPLAY_TOPIC, 0))
        return;
    ShellExecuteA(nullptr, "open", "hh.exe", ("\"" + file + "\"").c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace twk::win32
