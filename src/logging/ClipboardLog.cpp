#include "logging/ClipboardLog.h"

#include "capture/FrmToText.h"
#include "logging/DateStamps.h"
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
        viewer.Text1.setText(viewer.txtTMP.text());
    else if (s.AppendMode == 1)
        viewer.Text1.setText(viewer.Text1.text() + "\r\n" + viewer.txtTMP.text());
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
    s.CurrentLogPath = s.SavedFilePath + *name;
    s.ClipLogPath = s.CurrentLogPath;

    // One file per copy holds its one entry; the others get a section per second.
    const std::string section = text::numberEquals(s.SaveType, 2) ? "LogEntry" : s.DateStamp + s.TimeStamp;
    const bool written = program.ini.write(s.CurrentLogPath, section, "TEXT", program.frmToText->txtTMP.text(),
                                           platform::NewFile::OwnerOnly);
    s.LastIniResult = written ? 1 : 0;
    if (s.LastIniResult != 1)
        shell::ShowAppMessage(program, shell::kLogWriteFailedMessage);
}

} // namespace twk::logging
