#include "platform/Trace.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

namespace twk::platform {

std::string lastSystemError()
{
    const DWORD code = GetLastError();
    if (code == 0)
        return {};
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text / sizeof text[0], nullptr);
    std::string reason = win32::toUtf8(std::wstring_view(text, length));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

} // namespace twk::platform
