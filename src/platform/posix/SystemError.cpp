#include "platform/Trace.h"

#include <cerrno>
#include <cstring>

namespace twk::platform {

std::string lastSystemError()
{
    const int code = errno;
    return code == 0 ? std::string() : std::string(std::strerror(code));
}

} // namespace twk::platform
