#include "configuration/FrmOptions.h"
#include "configuration/IniKeys.h"
#include "configuration/LoadSettings.h"
#include "platform/PathRules.h"
#include "shell/Program.h"

namespace twk::configuration {
namespace {

const char* flag(const ui::CheckBox& box)
{
    return box.ticked() ? "1" : "0";
}

} // namespace

// Writes every setting in one pass, in the order users of the file have
// always seen, then reads them back so the program acts on them at once.
void FrmOptions::Command2_Click()
{
    using keys::kLinkCatcher;
    using keys::kMain;
    auto& s = program_.Settings;
    auto write = [this](const char* section, const char* key, const std::string& value) {
        program_.WriteIni(section, key, value);
    };

    write(kMain, "ON", flag(Check1));
    write(kMain, "BEEPON", flag(Check2));
    write(kMain, "AUTOOOPENVIEWERS", flag(Check3));
    const ui::OptionButton* frequencies[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
    for (int i = 0; i < 5; ++i)
        if (frequencies[i]->selected()) {
            write(kMain, "FREQUENCY", std::to_string(i + 1));
            break;
        }
    write(kMain, "AUTOSAVE", flag(Check5));
    write(kMain, "JS", flag(Check13));
    write(kMain, "AUTOCLEAR", flag(Check9));
    write(kMain, "AM", flag(Check10));
    write(kMain, "ASAF", flag(Check11));
    write(kMain, "PAC", flag(Check12));
    if (Option6.selected())
        write(kMain, "SAVETYPE", "1");
    if (s.LogFolderTouched == 1) {
        s.PendingLogFolder = platform::withTrailingSeparator(s.PendingLogFolder);
        write(kMain, "SAVEDFILEPATH", s.PendingLogFolder);
    }
    if (Option7.selected())
        write(kMain, "SAVETYPE", "2");
    if (Option8.selected())
        write(kMain, "SAVETYPE", "3");
    write(kMain, "HITNRUN", flag(Check7));
    write(kMain, "XYPOS", flag(chkXYPOS));
    write(kLinkCatcher, "ON", flag(Check4));
    write(kLinkCatcher, "STRICTURLS", flag(Check8));
    write(kLinkCatcher, "AUTOSAVE", flag(Check6));
    if (Option9.selected())
        write(kLinkCatcher, "SAVETYPE", "1");
    if (Option10.selected())
        write(kLinkCatcher, "SAVETYPE", "2");
    if (s.LinkLogFolderTouched == 1) {
        s.PendingLinkLogFolder = platform::withTrailingSeparator(s.PendingLinkLogFolder);
        write(kLinkCatcher, "linkcatcherSAVEDFILEPATH", s.PendingLinkLogFolder);
    }

    // The desktop keeps this one, and its platform traces a failure; LastIniResult stays the INI's.
    program_.platform.autostart.setEnabled(Check14.ticked());

    // Only the last write is looked at.
    if (s.LastIniResult == 0)
        program_.message("Error saving settings, make sure ini file is not write protected",
                         platform::MessageIcon::Critical);
    LoadSettings(program_);
    requestClose();
}

} // namespace twk::configuration
