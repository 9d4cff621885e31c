#include "logging/LogFileNames.h"

#include "logging/DateStamps.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::logging {

std::optional<std::string> ClipLogName(const configuration::Settings& s)
{
    if (text::numberEquals(s.SaveType, 1))
        return "twk.txt";
    if (text::numberEquals(s.SaveType, 2))
        return PerCopyLogName(s.DateStamp + "_" + s.TimeStamp);
    if (text::numberEquals(s.SaveType, 3))
        return s.DateStamp + ".txt";
    return std::nullopt;
}

std::string PerCopyLogName(const std::string& entryName)
{
    return entryName + ".txt";
}

std::optional<std::string> LinkLogName(const configuration::Settings& s)
{
    if (text::numberEquals(s.LinkSaveType, 1))
        return "twkurl.txt";
    if (text::numberEquals(s.LinkSaveType, 2))
        return "u" + s.DateStamp + ".txt";
    return std::nullopt;
}

void MakeLogFileNames(shell::Program& program)
{
    auto& s = program.Settings;
    s.CurrentLogPath = s.SavedFilePath;
    MakeDateStamps(program);
    if (const auto name = ClipLogName(s)) {
        s.CurrentLogPath = s.SavedFilePath + *name;
        s.ClipLogPath = s.CurrentLogPath;
    }
    s.CurrentLogPath = s.LinkSavedFilePath;
    if (const auto name = LinkLogName(s)) {
        s.CurrentLogPath = s.LinkSavedFilePath + *name;
        s.LinkLogPath = s.CurrentLogPath;
    }
}

} // namespace twk::logging
