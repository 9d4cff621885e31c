#include "logging/ClipboardLog.h"

#include "capture/FrmToText.h"
#include "ini/IniFiles.h"
#include "logging/DateStamps.h"
#include "logging/EntryNames.h"
#include "logging/LogFileNames.h"
#include "shell/AppMessages.h"
#include "shell/Program.h"
#include "text/Numbers.h"

namespace twk::logging {

void txtTMP_Change(shell::Program& program)
{
    auto& s = program.Settings;
    auto& viewer = *program.frmToText;
    if (s.AppendMode == 0)
        viewer.Text1.setTextOf(viewer.txtTMP);
    else if (s.AppendMode == 1)
        viewer.Text1.append("\r\n" + viewer.txtTMP.text());
    if (s.PopupAfterCopy == 1)
        viewer.show();
    if (text::numberEquals(s.AutoSave, 1))
        SaveClipToLog(program);
}

void SaveClipToLog(shell::Program& program)
{
    auto& s = program.Settings;
    s.CurrentLogPath = s.SavedFilePath;
    MakeDateStamps(program);
    const auto name = ClipLogName(s);
    if (!name)
        return;

    // One file per copy: any file of the name takes it. Otherwise a section
    // name is taken by every line a reader sees as its section line, also one
    // inside an earlier multi-line text: the new entry then lands after that
    // text, not in it.
    std::string section;
    // The look that found the name free spares the write a second one.
    ini::SectionLook look;
    if (text::numberEquals(s.SaveType, 2)) {
        const auto fileName = FreeEntryName(s.DateStamp + "_" + s.TimeStamp, [&](const std::string& candidate) {
            return program.platform.files.stamp(s.SavedFilePath + PerCopyLogName(candidate)).has_value();
        });
        s.CurrentLogPath = s.SavedFilePath + PerCopyLogName(fileName);
        section = "LogEntry";
    } else {
        s.CurrentLogPath = s.SavedFilePath + *name;
        section = FreeEntryName(s.DateStamp + s.TimeStamp, [&](const std::string& candidate) {
            look = program.ini.lookForSection(s.CurrentLogPath, candidate);
            return look.present;
        });
    }
    s.ClipLogPath = s.CurrentLogPath;

    const bool written = program.ini.write(s.CurrentLogPath, section, "TEXT", program.frmToText->txtTMP.text(),
                                           platform::NewFile::OwnerOnly, look);
    s.LastIniResult = written ? 1 : 0;
    if (s.LastIniResult != 1)
        shell::ShowAppMessage(program, shell::kLogWriteFailedMessage);
}

void PrefetchClipLogNames(shell::Program& program)
{
    const auto& s = program.Settings;
    // One file per copy has no names to look for: a file of the name exists or not.
    if (!text::numberEquals(s.AutoSave, 1) || !(text::numberEquals(s.SaveType, 1) || text::numberEquals(s.SaveType, 3)))
        return;
    program.ini.prefetchSections(s.ClipLogPath, s.DateStamp);
}

} // namespace twk::logging
