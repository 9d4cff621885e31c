#include "logging/DateStamps.h"

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
    const auto now = program.platform.environment.now();
    program.Settings.DateStamp = std::to_string(now.year) + twoDigits(now.month) + twoDigits(now.day);
    program.Settings.TimeStamp = twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second);
}

} // namespace twk::logging
