#include "about/VersionRecord.h"

namespace twk::about {

VersionRecord ProgramVersion()
{
    return {TWK_VERSION_MAJOR, TWK_VERSION_MINOR, TWK_VERSION_PATCH, "TWK3 Tarnwick Windows Clipboard Utility"};
}

} // namespace twk::about
