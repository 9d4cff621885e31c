#include "platform/win32/Win32Folders.h"

#include "platform/win32/Utf16.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>
#include <windows.h>

namespace twk::platform {
namespace {

bool hasDriveLetter(const std::string& folder)
{
    return folder.size() >= 2 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':';
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// "\\server\share\": the top of a network path.
std::optional<std::string> shareOf(const std::string& folder)
{
    if (folder.size() < 3 || !isSeparator(folder[0]) || !isSeparator(folder[1]))
        return std::nullopt;
    const auto server = folder.find_first_of("\\/", 2);
    if (server == std::string::npos || server == 2)
        return std::nullopt;
    const auto share = folder.find_first_of("\\/", server + 1);
    return folder.substr(0, share) + "\\";
}

// The order the system's folder lists show: letters without regard to case.
bool listedBefore(const std::wstring& a, const std::wstring& b)
{
    const int order = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                       b.data(), static_cast<int>(b.size()));
    return order == CSTR_EQUAL ? a < b : order == CSTR_LESS_THAN;
}

} // namespace

std::vector<std::string> Win32Folders::drives()
{
    std::vector<std::string> result;
    const DWORD mask = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (mask & (1u << letter))
            result.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
    return result;
}

std::string Win32Folders::driveOf(const std::string& folder)
{
    if (hasDriveLetter(folder))
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])))) + ":\\";
    if (const auto share = shareOf(folder))
        return *share;
    // A folder without a drive lies on the drive of the current folder.
    wchar_t current[MAX_PATH + 1] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, current);
    const std::string utf8 = win32::toUtf8(current);
    if (length > 0 && length <= MAX_PATH && hasDriveLetter(utf8))
        return driveOf(utf8);
    return "C:\\";
}

std::optional<std::vector<std::string>> Win32Folders::subfolders(const std::string& folder)
{
    if (folder.empty() || folder.find('\0') != std::string::npos || !text::isUtf8(folder))
        return std::nullopt;
    const auto pattern = win32::toWide(isSeparator(folder.back()) ? folder + "*" : folder + "\\*");
    WIN32_FIND_DATAW entry{};
    const HANDLE search =
        ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchLimitToDirectories, nullptr, 0);
    std::vector<std::wstring> wideNames;
    std::vector<std::string> names;
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive has not even "." to list.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
            return names;
        return std::nullopt;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            continue;
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        // A name with an unpaired surrogate has no UTF-8 spelling that leads
        // back to it; listing it would only lead to an error.
        if (win32::toWide(win32::toUtf8(name)) == name)
            wideNames.push_back(name);
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    std::sort(wideNames.begin(), wideNames.end(), listedBefore);
    for (const auto& name : wideNames)
        names.push_back(win32::toUtf8(name));
    return names;
}

} // namespace twk::platform
