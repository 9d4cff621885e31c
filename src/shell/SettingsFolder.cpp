#include "shell/SettingsFolder.h"

#include "platform/Trace.h"

namespace twk::shell {

std::string SettingsFolder(platform::Environment& environment)
{
    auto folder = environment.programFolder();
    if (environment.canWriteIn(folder))
        return folder;
    if (auto own = environment.perUserFolder())
        return *own;
    platform::trace("settings: cannot write in " + folder +
                    " and no folder of the user's own for them: " + "twk3.ini stays there");
    return folder;
}

} // namespace twk::shell
