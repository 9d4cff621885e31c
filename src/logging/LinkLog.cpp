#include "logging/LinkLog.h"

#include "capture/FrmToText.h"
#include "logging/DateStamps.h"
#include "logging/LogFileNames.h"
#include "shell/AppMessages.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::logging {

std::string WithoutLineBreaks(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        result += text[i];
    }
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
    const std::string key = daily ? s.TimeStamp.substr(2, 4) : s.TimeStamp;
    s.LastIniResult = program.ini.write(s.CurrentLogPath, section, key, value, platform::NewFile::OwnerOnly) ? 1 : 0;
    if (s.LastIniResult != 1)
        shell::ShowAppMessage(program, shell::kLogWriteFailedMessage);
}

} // namespace twk::logging
