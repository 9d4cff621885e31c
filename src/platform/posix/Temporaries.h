#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace twk::platform {

// The temporary file a replacement is written into: beside its target, named
// after it (target + ".twk-" + six letters or digits), and locked for as
// long as it is open, so that a writer that died can be told from one that
// is still at work.
struct Temporary {
    int fd = -1;
    std::string path;
};

// A new temporary beside target, made with the given permissions (the umask
// still applies), open and locked. Nullopt when the folder takes no new file.
std::optional<Temporary> CreateTemporary(const std::string& target, mode_t mode);

// Removes temporaries of target that no live writer holds: what writes cut
// short by a crash or a kill left behind.
void RemoveLeftovers(const std::string& target);

} // namespace twk::platform
