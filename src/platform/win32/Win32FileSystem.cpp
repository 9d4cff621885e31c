#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/AnsiText.h"
#include "platform/win32/FileHandle.h"

#include <atomic>
#include <new>
#include <windows.h>

namespace twk::platform {
namespace {

using win32::FileHandle;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A NUL inside a path would silently cut it short and name another file.
std::optional<std::wstring> usable(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    return win32::wideFromAnsi(path);
}

FileHandle openExisting(const std::wstring& path, DWORD access, DWORD share)
{
    return FileHandle(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool isFile(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::uint64_t joined(DWORD high, DWORD low)
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool writeAll(HANDLE file, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// A name beside the file that no other write uses at the same time.
std::wstring temporaryBeside(const std::wstring& path, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    wchar_t suffix[64];
    ::wsprintfW(suffix, L".twk-%lx-%x-%x", ::GetCurrentProcessId(), counter++, attempt);
    return path + suffix;
}

// Virus scanners and indexers open files for a moment; a replace waits briefly
// for them rather than fail the write.
bool moveOver(const std::wstring& from, const std::wstring& to)
{
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (attempt >= 20 || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION))
            return false;
        ::Sleep(25);
    }
}

} // namespace

std::optional<std::string> Win32FileSystem::read(const std::string& path)
{
    const auto wide = usable(path);
    if (!wide)
        return std::nullopt;
    const FileHandle file = openExisting(*wide, GENERIC_READ, kShareAll);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) || !isFile(info))
        return std::nullopt;
    const std::uint64_t size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    std::string content;
    try {
        if (size >= content.max_size())
            return std::nullopt;
        content.reserve(static_cast<std::size_t>(size));
        char buffer[1 << 16];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
                return std::nullopt;
            if (got == 0)
                break;
            content.append(buffer, got);
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt; // too big for this process: unreadable, and so left alone
    }
    return content;
}

bool Win32FileSystem::replace(const std::string& path, const std::string& content)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    const DWORD existing = ::GetFileAttributesW(wide->c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    // The new file keeps the old one's hidden, system and archive marks.
    const DWORD attributes = existing == INVALID_FILE_ATTRIBUTES
                                 ? FILE_ATTRIBUTE_NORMAL
                                 : (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));

    // Written beside the file and moved over it: a crash or a full disk
    // leaves the old file whole.
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryBeside(*wide, attempt);
        created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    FileHandle file(created);
    if (!file.valid())
        return false;
    const bool written = writeAll(file.get(), content) && ::FlushFileBuffers(file.get()) && file.closeChecked();
    if (!written || !moveOver(temporary, *wide)) {
        if (file.valid())
            file.closeChecked();
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::append(const std::string& path, const std::string& content)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    // Other writers wait until the bytes are down; readers may look on. A
    // write-protected file refuses the write access here.
    const FileHandle file = openExisting(*wide, GENERIC_WRITE, FILE_SHARE_READ);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) || !isFile(info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(joined(info.nFileSizeHigh, info.nFileSizeLow));
    if (!::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN))
        return false;
    if (!writeAll(file.get(), content) || !::FlushFileBuffers(file.get())) {
        // Take back a partial tail so the file ends where it ended before.
        if (::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()))
            ::FlushFileBuffers(file.get());
        return false;
    }
    return true;
}

std::optional<FileStamp> Win32FileSystem::stamp(const std::string& path)
{
    const auto wide = usable(path);
    if (!wide)
        return std::nullopt;
    const FileHandle file = openExisting(*wide, FILE_READ_ATTRIBUTES, kShareAll);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) || !isFile(info))
        return std::nullopt;
    FileStamp result;
    result.size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    // FILETIME counts 100 ns steps.
    result.modifiedNs =
        static_cast<std::int64_t>(joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) *
        100;
    result.inode = joined(info.nFileIndexHigh, info.nFileIndexLow);
    result.device = info.dwVolumeSerialNumber;
    return result;
}

bool Win32FileSystem::isRegularFile(const std::string& path)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool Win32FileSystem::copy(const std::string& from, const std::string& to)
{
    const auto content = read(from);
    return content && replace(to, *content);
}

bool Win32FileSystem::remove(const std::string& path)
{
    const auto wide = usable(path);
    return wide && ::DeleteFileW(wide->c_str());
}

} // namespace twk::platform
