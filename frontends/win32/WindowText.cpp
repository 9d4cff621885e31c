#include "WindowText.h"

#include "platform/win32/Utf16.h"

namespace twk::win32 {

using platform::win32::toUtf8;
using platform::win32::toWide;

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return toUtf8(text);
}

void setWindowText(HWND window, std::string_view text)
{
    SetWindowTextW(window, toWide(text).c_str());
}

} // namespace twk::win32
