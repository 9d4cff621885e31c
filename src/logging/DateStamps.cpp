#include "logging/DateStamps.h"

#include "capture/FrmToText.h"
#include "shell/Program.h"

namespace twk::logging {
namespace {

std::string twoDigits(int value)
{
    std::string text = std::to_string(value);
    if (text.size() != 2)
        text.insert(0, "0");
    return text;
}

} // namespace

void MakeDateStamps(shell::Program& program)
{
    // A text being captured is stamped with the second it was copied, which may lie a
    // few seconds before the tick that captures it.
    const auto* viewer = program.frmToText.get();
    const auto now = viewer && viewer->copiedAt() ? *viewer->copiedAt() : program.platform.environment.now();
    program.Settings.DateStamp = std::to_string(now.year) + twoDigits(now.month) + twoDigits(now.day);
    program.Settings.TimeStamp = twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second);
}

} // namespace twk::logging
