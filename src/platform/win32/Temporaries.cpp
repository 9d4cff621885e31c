#include "platform/win32/Temporaries.h"

#include <random>
#include <string_view>

namespace twk::platform::win32 {
namespace {

constexpr std::wstring_view kMarker = L".twk-";
constexpr std::size_t kRandomLetters = 6;
constexpr int kAttempts = 100;

std::wstring randomLetters()
{
    static constexpr std::wstring_view kLetters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::wstring letters;
    for (std::size_t i = 0; i < kRandomLetters; ++i)
        letters += kLetters[pick(random)];
    return letters;
}

std::wstring folderPart(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

bool isTemporaryOf(std::wstring_view entry, std::wstring_view prefix)
{
    if (entry.size() != prefix.size() + kRandomLetters ||
        ::CompareStringOrdinal(entry.data(), static_cast<int>(prefix.size()), prefix.data(),
                               static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
        return false;
    for (const wchar_t c : entry.substr(prefix.size()))
        if (!((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')))
            return false;
    return true;
}

} // namespace

std::optional<Temporary> CreateTemporary(const std::wstring& target, DWORD attributes, SECURITY_ATTRIBUTES* security)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Temporary temporary{FileHandle(INVALID_HANDLE_VALUE), target + std::wstring(kMarker) + randomLetters()};
        temporary.file = FileHandle(
            ::CreateFileW(temporary.path.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW, attributes, nullptr));
        if (temporary.file.valid())
            return temporary;
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

void RemoveLeftovers(const std::wstring& target)
{
    const auto folder = folderPart(target);
    const auto prefix = target.substr(folder.size()) + std::wstring(kMarker);
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW((target + std::wstring(kMarker) + L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // A live writer holds its temporary open unshared: deleting it fails.
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
            isTemporaryOf(entry.cFileName, prefix))
            ::DeleteFileW((folder + entry.cFileName).c_str());
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

} // namespace twk::platform::win32
