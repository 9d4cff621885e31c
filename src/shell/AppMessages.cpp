#include "shell/AppMessages.h"

#include "platform/PathRules.h"
#include "shell/Program.h"

namespace twk::shell {
namespace {

// The welcome text breaks its lines with line feed, then carriage return.
constexpr const char* kBreak = "\n\r";

std::string welcomeText(Program& program)
{
    const auto folder = platform::folderForDisplay(program.settingsFolder());
    return std::string("Welcome to TWK!  You can access TWK's menu from your System Tray ") + kBreak +
           "usually located next to your clock in the taskbar." + kBreak + kBreak +
           "Your logs will be saved to: " + folder + kBreak + kBreak +
           "Please take a moment to review your TWK Option Settings.";
}

} // namespace

void ShowAppMessage(Program& program, std::uint8_t code)
{
    switch (code) {
    case kWelcomeMessage:
        program.message(welcomeText(program), platform::MessageIcon::Information);
        break;
    case kLogWriteFailedMessage:
        program.message("Error writing to: " + program.Settings.CurrentLogPath +
                            ". Be sure file is not protected, the clipboard text is not too big, and that the "
                            "file size is not too large.",
                        platform::MessageIcon::Exclamation);
        break;
    default:
        break;
    }
}

} // namespace twk::shell
