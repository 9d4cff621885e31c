#include "shell/SingleInstance.h"

#include "shell/Program.h"

namespace twk::shell {

bool CheckSingleInstance(Program& program)
{
    auto& instances = program.platform.instances;
    const std::string kept = program.ApplicationTitle;
    // Renamed first, so the search cannot find this copy itself.
    program.ApplicationTitle = kUnwantedInstanceTitle;
    instances.setApplicationTitle(program.ApplicationTitle);

    std::optional<platform::WindowId> found;
    for (const char* windowClass : {"ThunderRTMain", "ThunderRT5Main", kApplicationWindowClass}) {
        found = instances.findWindow(windowClass, kept);
        if (found)
            break;
    }
    if (!found)
        return false;

    instances.bringForward(*found);
    program.message("This instance of TWK will terminate because another running instance was detected.",
                    platform::MessageIcon::Information);
    program.endNow();
    return true;
}

} // namespace twk::shell
