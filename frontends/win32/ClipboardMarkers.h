#pragma once

#include "platform/Clipboard.h"

#include <cstdint>
#include <optional>

namespace twk::win32 {

// What an owner offers beside its text, asked of an open clipboard (or of a
// test's stand-in).
class OfferedFormats {
public:
    virtual ~OfferedFormats() = default;
    virtual bool has(const char* registeredName) = 0;
    // The first four bytes of a registered format, little-endian; nullopt when
    // the owner gives none or fewer.
    virtual std::optional<std::uint32_t> dword(const char* registeredName) = 0;
    virtual bool hasFileList() = 0;
};

// The formats owners use to keep a text out of clipboard monitors and
// histories. "Clipboard Viewer Ignore" and
// "ExcludeClipboardContentFromMonitorProcessing" say so by being there;
// "CanIncludeInClipboardHistory" and "CanUploadToCloudClipboard" carry a DWORD,
// and only 0 says so: a 1 is an owner allowing what Windows' history does anyway.
// A DWORD that cannot be read counts as 0: its owner asked something about the
// text that cannot be told, and leaving a text alone loses nothing.
// A secret wins over a file list, which is left alone as well.
platform::ClipboardMark markOf(OfferedFormats& offered);

} // namespace twk::win32
