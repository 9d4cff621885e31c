#include "ConsoleAnswer.h"
#include "NativeWindow.h"
#include "Win32Autostart.h"
#include "Win32Clipboard.h"
#include "Win32Dialogs.h"
#include "Win32Environment.h"
#include "Win32Help.h"
#include "Win32Instances.h"
#include "Win32Shell.h"
#include "Win32Tray.h"
#include "Win32WindowHost.h"
#include "about/CommandLine.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "shell/Form1.h"
#include "shell/Program.h"

#include <windows.h>

#include <commctrl.h>

namespace {

constexpr int kProgramIcon = 1;

HICON smallProgramIcon(HINSTANCE instance)
{
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

// Keys a window of the program takes before its focused control: F1, Esc,
// Enter; then Tab and access keys move between its controls.
bool routeKey(MSG& message)
{
    auto* window = twk::win32::NativeWindow::of(GetAncestor(message.hwnd, GA_ROOT));
    if (!window)
        return false;
    return window->handleKey(message) || IsDialogMessageW(window->handle(), &message);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // "--version" and "--help" answer before anything is looked at: no INI, no other copy.
    if (const auto answer = twk::about::CommandLineAnswer(twk::win32::argumentsOf(GetCommandLineA()))) {
        twk::win32::ShowCommandLineAnswer(*answer);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    using namespace twk;
    win32::Win32Environment environment;
    win32::Win32Instances instances(instance, shell::kApplicationWindowClass, shell::kApplicationTitle);
    win32::Win32Clipboard clipboard(instances.applicationWindow());
    win32::Win32Dialogs dialogs;
    platform::Win32FileSystem files;
    platform::Win32Folders folders;
    win32::Win32Shell desktopShell;
    win32::Win32Tray tray(instance, smallProgramIcon(instance), environment.twipsPerPixelX());
    win32::Win32Autostart autostart(win32::runningProgramPath());
    platform::Platform platform{clipboard, dialogs,      environment, files,    folders,
                                instances, desktopShell, tray,        autostart};

    win32::Win32WindowHost host(environment.twipsPerPixelX());
    shell::Program program(platform, host);
    host.onProgramEnded = [] { PostQuitMessage(0); };
    host.onHelp = [&environment, &dialogs] { win32::ShowHtmlHelp(environment.programFolder(), dialogs); };
    tray.onMouseMove = [&program](float x) {
        if (auto* form1 = program.form1.get())
            form1->pichook_MouseMove(x);
    };

    tray.onSystemClose = [&program] { program.closeMainWindow(); };

    program.start();
    MSG message;
    while (!program.ended() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!routeKey(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        host.destroyDroppedWindows();
    }
    return 0;
}
