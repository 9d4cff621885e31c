#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/LinkTargets.h"
#include "platform/win32/Temporaries.h"
#include "platform/win32/Utf16.h"
#include "text/Utf8.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace twk::platform {
namespace {

using win32::FileHandle;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::size_t kCleanedRemembered = 64;
constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

// A NUL inside a path would silently cut it short and name another file; so
// would malformed UTF-8, read with replacement characters.
std::optional<std::wstring> usable(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos || !text::isUtf8(path))
        return std::nullopt;
    return win32::toWide(path);
}

FileHandle openExisting(const std::wstring& path, DWORD access, DWORD share)
{
    return FileHandle(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::uint64_t joined(DWORD high, DWORD low)
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool writeAll(HANDLE file, std::string_view content)
{
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0)
            return false;
        content.remove_prefix(written);
    }
    return true;
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

// Whether a file's permissions are its own rather than passed on by its
// folder: protected from inheritance, or made of explicit entries only (Wine
// keeps the entries but not the protection mark).
bool ownedBy(const std::vector<unsigned char>& descriptor)
{
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    ACL* acl = nullptr;
    ACL_SIZE_INFORMATION info{};
    if (!::GetSecurityDescriptorControl(const_cast<unsigned char*>(descriptor.data()), &control, &revision) ||
        !::GetSecurityDescriptorDacl(const_cast<unsigned char*>(descriptor.data()), &present, &acl, &defaulted) ||
        !present || !acl || !::GetAclInformation(acl, &info, sizeof info, AclSizeInformation))
        return false;
    if ((control & SE_DACL_PROTECTED) != 0)
        return true;
    for (DWORD i = 0; i < info.AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(acl, i, &ace) || (static_cast<ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE) != 0)
            return false;
    }
    return info.AceCount > 0;
}

// Permissions the file has of its own go onto its replacement; a file that
// only inherits its folder's permissions gets the same again by being
// created in that folder.
std::vector<unsigned char> ownPermissions(const std::wstring& path)
{
    DWORD size = 0;
    ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    if (size == 0 || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !ownedBy(descriptor))
        return {};
    return descriptor;
}

} // namespace

std::optional<std::string> Win32FileSystem::readRange(const std::string& path, std::uint64_t offset, std::size_t length)
{
    const auto wide = usable(path);
    if (!wide)
        return std::nullopt;
    const FileHandle file = openExisting(*wide, GENERIC_READ, kShareAll);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & kNotAFile) != 0)
        return std::nullopt;
    const std::uint64_t size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    const auto available = offset < size ? std::min<std::uint64_t>(length, size - offset) : 0;
    std::string content(static_cast<std::size_t>(available), '\0');
    std::size_t got = 0;
    while (got < content.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + got);
        at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(content.size() - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(file.get(), content.data() + got, wanted, &n, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            return std::nullopt;
        }
        if (n == 0)
            break; // shortened meanwhile
        got += n;
    }
    content.resize(got);
    return content;
}

bool Win32FileSystem::replaceWith(const std::string& path, NewFile access, const Producer& produce)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    // Through a link to its target, so the link stays a link.
    const auto target = win32::FinalTarget(*wide);
    if (!target)
        return false;
    const DWORD existing = ::GetFileAttributesW(target->c_str());
    const bool exists = existing != INVALID_FILE_ATTRIBUTES;
    if (exists && (existing & (kNotAFile | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    removeLeftoversOnce(*target);

    // The new file keeps the old one's marks and permissions; a new file of
    // copied text is its owner's alone.
    const DWORD attributes = exists ? (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED))
                                    : 0;
    auto permissions = exists ? ownPermissions(*target) : std::vector<unsigned char>();
    SECURITY_ATTRIBUTES kept{sizeof kept, permissions.empty() ? nullptr : permissions.data(), FALSE};
    SECURITY_ATTRIBUTES* security = !permissions.empty()                      ? &kept
                                    : !exists && access == NewFile::OwnerOnly ? ownerOnly_.attributes()
                                                                              : nullptr;

    // Written beside the file and moved over it: a crash or a full disk
    // leaves the old file whole.
    auto temporary = win32::CreateTemporary(*target, attributes ? attributes : FILE_ATTRIBUTE_NORMAL, security);
    if (!temporary)
        return false;
    const Put put = [&](std::string_view piece) { return writeAll(temporary->file.get(), piece); };
    const bool written = produce(put) && ::FlushFileBuffers(temporary->file.get()) && temporary->file.closeChecked();
    if (!written || !moveOver(temporary->path, *target)) {
        if (temporary->file.valid())
            temporary->file.closeChecked();
        ::DeleteFileW(temporary->path.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::append(const std::string& path, std::string_view content)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    // Other writers wait until the bytes are down; readers may look on. A
    // write-protected file refuses the write access here.
    const FileHandle file = openExisting(*wide, GENERIC_WRITE, FILE_SHARE_READ);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (kNotAFile | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    if (const auto target = win32::FinalTarget(*wide))
        removeLeftoversOnce(*target);
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
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & kNotAFile) != 0)
        return std::nullopt;
    FileStamp result;
    result.size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    // FILETIME counts 100 ns steps.
    result.modifiedNs =
        static_cast<std::int64_t>(joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) *
        100;
    // A file index is unique on its volume only.
    result.inode = joined(info.nFileIndexHigh, info.nFileIndexLow);
    result.device = info.dwVolumeSerialNumber;
    return result;
}

bool Win32FileSystem::isRegularFile(const std::string& path)
{
    const auto wide = usable(path);
    if (!wide)
        return false;
    // Opened, so that a link counts by what it points to.
    const FileHandle file = openExisting(*wide, FILE_READ_ATTRIBUTES, kShareAll);
    BY_HANDLE_FILE_INFORMATION info{};
    return file.valid() && ::GetFileInformationByHandle(file.get(), &info) && (info.dwFileAttributes & kNotAFile) == 0;
}

bool Win32FileSystem::remove(const std::string& path)
{
    const auto wide = usable(path);
    return wide && ::DeleteFileW(wide->c_str());
}

void Win32FileSystem::removeLeftoversOnce(const std::wstring& target)
{
    if (std::find(cleaned_.begin(), cleaned_.end(), target) != cleaned_.end())
        return;
    win32::RemoveLeftovers(target);
    cleaned_.push_back(target);
    if (cleaned_.size() > kCleanedRemembered)
        cleaned_.pop_front();
}

} // namespace twk::platform
