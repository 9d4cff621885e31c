#include "ConsoleAnswer.h"

#include "shell/Program.h"

#include <windows.h>

namespace twk::win32 {
namespace {

bool writeAll(HANDLE out, const std::string& text)
{
    DWORD written = 0;
    return out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
           WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

std::string withCrLf(const std::string& text)
{
    std::string lines;
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

} // namespace

void ShowCommandLineAnswer(const std::string& text)
{
    const auto lines = withCrLf(text);
    if (writeAll(GetStdHandle(STD_OUTPUT_HANDLE), lines))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        const bool shown = writeAll(console, lines);
        if (console != INVALID_HANDLE_VALUE)
            CloseHandle(console);
        FreeConsole();
        if (shown)
            return;
    }
    MessageBoxA(nullptr, lines.c_str(), shell::kApplicationTitle, MB_OK | MB_ICONINFORMATION);
}

} // namespace twk::win32
