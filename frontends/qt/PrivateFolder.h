#pragma once

#include <QString>

namespace twk::qt {

// A folder that only this user can reach, for the one-copy lock and socket.
// Made 0700 when missing; an existing one must be a real folder (never a link)
// owned by this user, and is narrowed to 0700 if it is wider. Otherwise
// `refusal` says why it cannot be used.
struct PrivateFolder {
    QString path;
    QString refusal;
    bool usable() const { return refusal.isEmpty(); }
};

PrivateFolder privateFolder(const QString& path);

// The user's runtime folder, or the private fallback `<temp>/twk3-<uid>`
// when there is none.
PrivateFolder runtimeFolder();

} // namespace twk::qt
