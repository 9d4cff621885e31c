#pragma once

#include "platform/win32/FileHandle.h"

#include <optional>
#include <string>

namespace twk::platform::win32 {

// The temporary file a replacement is written into: beside its target, named
// after it (target + ".twk-" + six letters or digits), and open with no
// sharing for as long as its writer lives, so that nobody else can open or
// delete it meanwhile.
struct Temporary {
    FileHandle file;
    std::wstring path;
};

// A new temporary beside target, open for writing. security may be null (the
// folder's inherited permissions). Nullopt when the folder takes no new file.
std::optional<Temporary> CreateTemporary(const std::wstring& target, DWORD attributes, SECURITY_ATTRIBUTES* security);

// Removes temporaries of target that no live writer holds open: what writes
// cut short by a crash or a kill left behind.
void RemoveLeftovers(const std::wstring& target);

} // namespace twk::platform::win32
