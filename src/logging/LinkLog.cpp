#include "logging/LinkLog.h"

#include "capture/FrmToText.h"
#include "logging/DateStamps.h"
#include "logging/EntryNames.h"
#include "logging/LogFileNames.h"
#include "shell/AppMessages.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::logging {

std::string WithoutLineBreaks(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            result += c;
    return result;
}

void SaveLinkToLog(shell::Program& program)
{
    auto& s = program.Settings;
    if (!text::numberEquals(s.LinkAutoSave, 1))
        return;
    s.CurrentLogPath = s.LinkSavedFilePath;
    MakeDateStamps(program);
    const auto value = WithoutLineBreaks(program.frmToText.loaded() ? program.frmToText->txtTMP.text() : "");
    const auto name = LinkLogName(s);
    if (!name)
        return;
    s.CurrentLogPath = s.LinkSavedFilePath + *name;
    s.LinkLogPath = s.CurrentLogPath;

    // The continuous log has a section per day, the daily one a section per hour.
    const bool daily = text::numberEquals(s.LinkSaveType, 2);
    const std::string section = daily ? s.TimeStamp.substr(0, 2) : s.DateStamp;
    // A key already in the section (a second link in that second, the repeated
    // hour) would have its value replaced: the new one gets a name of its own.
    const std::string key =
        FreeEntryName(daily ? s.TimeStamp.substr(2, 4) : s.TimeStamp, [&](const std::string& candidate) {
            return program.ini.hasKey(s.CurrentLogPath, section, candidate);
        });
    s.LastIniResult = program.ini.write(s.CurrentLogPath, section, key, value, platform::NewFile::OwnerOnly) ? 1 : 0;
    if (s.LastIniResult != 1)
        shell::ShowAppMessage(program, shell::kLogWriteFailedMessage);
}

} // namespace twk::logging
