#include "Win32Help.h"

#include "platform/PathRules.h"

#include <windows.h>

#include <htmlhelp.h>
#include <shellapi.h>

namespace twk::win32 {

void ShowHtmlHelp(const std::string& programFolder)
{
    const std::string file = platform::withTrailingSeparator(programFolder) + kHelpFileName;
    if (HtmlHelpA(GetDesktopWindow(), file.c_str(), HH_DISPLAY_TOPIC, 0))
        return;
    // Without the help control, the viewer program shows the file as well.
    ShellExecuteA(nullptr, "open", "hh.exe", ("\"" + file + "\"").c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace twk::win32
