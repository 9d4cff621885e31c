#pragma once

#include "platform/FileSystem.h"
#include "platform/win32/OwnerOnlyAccess.h"

#include <deque>
#include <string>

namespace twk::platform {

// The real file system of a Windows machine. Paths are UTF-8, handed to the
// system's wide calls; files are read and written as bytes, never in text mode.
class Win32FileSystem final : public FileSystem {
public:
    std::optional<std::string> readRange(const std::string& path, std::uint64_t offset, std::size_t length) override;
    bool replaceWith(const std::string& path, NewFile access, const Producer& produce) override;
    bool append(const std::string& path, std::string_view content) override;
    std::optional<FileStamp> stamp(const std::string& path) override;
    bool isRegularFile(const std::string& path) override;
    bool remove(const std::string& path) override;
    const CodePage* legacyCodePage() const override;

private:
    // Leftovers come from writes that died before this process began, so
    // each file is looked at for them once, at its first write here.
    void removeLeftoversOnce(const std::wstring& target);
    std::deque<std::wstring> cleaned_;
    win32::OwnerOnlyAccess ownerOnly_;
};

} // namespace twk::platform
