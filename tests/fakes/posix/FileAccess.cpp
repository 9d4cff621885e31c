#include "fakes/FileAccess.h"

#include <sys/stat.h>

namespace twk::testing {

bool readableByOwnerAlone(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == 0600;
}

} // namespace twk::testing
