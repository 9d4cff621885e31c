#include "PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace twk::qt {

PrivateFolder privateFolder(const QString& path)
{
    PrivateFolder folder{path, {}};
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        folder.refusal = QStringLiteral("cannot be made: ") + QString::fromLocal8Bit(std::strerror(errno));
        return folder;
    }
    // Opened without following a link, so that what is checked is what is used.
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        folder.refusal = errno == ELOOP || errno == ENOTDIR
                             ? QStringLiteral("is not a folder (a link or a file)")
                             : QStringLiteral("cannot be opened: ") + QString::fromLocal8Bit(std::strerror(errno));
        return folder;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        folder.refusal = QStringLiteral("cannot be read: ") + QString::fromLocal8Bit(std::strerror(errno));
    else if (status.st_uid != ::getuid())
        folder.refusal = QStringLiteral("belongs to another user");
    else if ((status.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0)
        folder.refusal = QStringLiteral("is open to others and cannot be closed");
    ::close(fd);
    return folder;
}

PrivateFolder runtimeFolder()
{
    // Qt checks its runtime folder's owner and mode itself, and gives none it refused.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty() && QDir().mkpath(folder))
        return {folder, {}};
    return privateFolder(QDir::tempPath() + QStringLiteral("/twk3-") + QString::number(::getuid()));
}

} // namespace twk::qt
