#include "about/Help.h"

#include "platform/PathRules.h"
#include "shell/Program.h"

namespace twk::about {

std::string HelpFilePath(shell::Program& program)
{
    return platform::withTrailingSeparator(program.platform.environment.programFolder()) + kHelpFileName;
}

void ShowHelp(shell::Program& program)
{
    program.platform.shell.openWithDefaultHandler(HelpFilePath(program));
}

} // namespace twk::about
