#pragma once

#include <windows.h>

#include <vector>

namespace twk::platform::win32 {

// The SID of the user this process runs as, in a buffer of its own; empty
// when the process's identity cannot be read.
std::vector<unsigned char> CurrentUserSid();

// Security for a new file that only its owner may open: full access for the
// user this program runs as and for the system itself, nothing inherited
// from the folder. Files in the user's profile are private already; this
// keeps copied text private in any other folder as well.
class OwnerOnlyAccess {
public:
    OwnerOnlyAccess();
    OwnerOnlyAccess(const OwnerOnlyAccess&) = delete; // the descriptor points into this object
    OwnerOnlyAccess& operator=(const OwnerOnlyAccess&) = delete;
    // Null when the user's identity could not be read: the file then gets
    // the folder's permissions, as any new file would.
    SECURITY_ATTRIBUTES* attributes() { return ready_ ? &attributes_ : nullptr; }

private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ready_ = false;
};

} // namespace twk::platform::win32
