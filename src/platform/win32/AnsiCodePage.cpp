#include "platform/win32/AnsiCodePage.h"

#include "platform/win32/Utf16.h"

#include <climits>
#include <windows.h>

namespace twk::platform::win32 {

std::string AnsiCodePage::toUtf8(std::string_view bytes) const
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return win32::toUtf8(wide);
}

std::optional<std::string> AnsiCodePage::fromUtf8(std::string_view text) const
{
    const std::wstring wide = toWide(text);
    if (wide.empty())
        return std::string();
    if (wide.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    // No best fit: a character the code page lacks must not become a look-alike.
    const int length =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace twk::platform::win32
