#include "configuration/LoadSettings.h"

#include "configuration/IniKeys.h"
#include "ini/IniEncoding.h"
#include "ini/IniText.h"
#include "logging/AppendFile.h"
#include "logging/ClipboardLog.h"
#include "logging/LogFileNames.h"
#include "platform/PathRules.h"
#include "shell/AppMessages.h"
#include "shell/Program.h"
#include "text/Numbers.h"

#include <cstdint>
#include <vector>

namespace twk::configuration {
namespace {

using keys::kLinkCatcher;
using keys::kMain;

std::string defaultLogViewer(platform::Environment& environment)
{
    if (const auto root = environment.variable("SystemRoot"))
        return *root + "\\Notepad.exe";
    // Without the system's Notepad the program's log browser shows the logs,
    // or else the desktop's own opener.
    if (const auto browser = environment.logBrowser())
        return *browser;
    if (const auto opener = environment.defaultOpener())
        return *opener;
    return "\\Notepad.exe";
}

// With keepPresent, a key that already has a value is not written.
void writeDefaults(shell::Program& program, const std::string& folder, bool keepPresent)
{
    auto& s = program.Settings;
    const auto write = [&](const char* section, const char* key, const std::string& value) {
        if (!keepPresent || !program.ini.read(s.IniPath, section, key))
            program.WriteIni(section, key, value);
    };
    s.SavedFilePath = folder;
    const std::pair<const char*, std::string> mainKeys[] = {
        {"XYPOS", "0"},
        {"PAC", "0"},
        {"AM", "0"},
        {"ASAF", "1"},
        {"AMLFPATH", s.SavedFilePath + keys::kAppendFileName},
        {"ON", "1"},
        {"BEEPON", "1"},
        {"AUTOOOPENVIEWERS", "0"},
        {"FREQUENCY", "1"},
        {"AUTOSAVE", "1"},
        {"JS", "1"},
        {"AUTOCLEAR", "0"},
        {"SAVETYPE", "3"},
        {"LOGVIEWER", defaultLogViewer(program.platform.environment)},
        {"SAVEDFILEPATH", s.SavedFilePath},
        {"HITNRUN", "0"},
    };
    for (const auto& [key, value] : mainKeys)
        write(kMain, key, value);
    write(kLinkCatcher, "ON", "1");
    write(kLinkCatcher, "STRICTURLS", "1");
    write(kLinkCatcher, "AUTOSAVE", "1");
    write(kLinkCatcher, "SAVETYPE", "2");
    s.LinkSavedFilePath = folder;
    write(kLinkCatcher, "linkcatcherSAVEDFILEPATH", s.LinkSavedFilePath);
    write(kMain, "FIRSTRUN", "9");
}

// A file that is there and holds something, but no [TWK] section that can be
// read: saved in a form the reader does not know, or cut short, or not a
// settings file at all. That is no first run, and nothing in it is the
// program's to write over.
bool settingsUnreadable(shell::Program& program)
{
    const auto content = program.platform.files.read(program.Settings.IniPath);
    if (!content)
        return false; // missing, or unreadable: then it cannot be written either
    const auto text = ini::decoded(*content, program.platform.files.legacyCodePage()).text;
    const bool blank = text.find_first_not_of(" \t\v\f\x1A\r\n") == std::string::npos;
    return !blank && !ini::hasSection(text, kMain);
}

// One key to load: a byte field converts (and may fail), a text field takes
// the value as it is read.
struct Load {
    const char* section;
    const char* key;
    std::uint8_t Settings::*byteField;
    std::string Settings::*textField;
};

Load byteKey(const char* section, const char* key, std::uint8_t Settings::*field)
{
    return {section, key, field, nullptr};
}

Load textKey(const char* section, const char* key, std::string Settings::*field)
{
    return {section, key, nullptr, field};
}

// False at the first byte key that is no number from 0 to 255, when asked to
// stop there; otherwise such keys are skipped and keep their earlier value.
bool loadKeys(shell::Program& program, bool stopAtFailure)
{
    static const std::vector<Load> order = {
        byteKey(kMain, "XYPOS", &Settings::RememberPositions),
        byteKey(kMain, "AM", &Settings::AppendMode),
        byteKey(kMain, "ASAF", &Settings::AutosaveAppendedFile),
        textKey(kMain, "ON", &Settings::CaptureOn),
        textKey(kMain, "BEEPON", &Settings::BeepOn),
        byteKey(kMain, "AUTOOOPENVIEWERS", &Settings::AutoOpenViewers),
        textKey(kMain, "FREQUENCY", &Settings::Frequency),
        textKey(kMain, "AUTOSAVE", &Settings::AutoSave),
        byteKey(kMain, "JS", &Settings::JavaScriptStripper),
        byteKey(kMain, "AUTOCLEAR", &Settings::AutoClear),
        byteKey(kMain, "PAC", &Settings::PopupAfterCopy),
        textKey(kMain, "SAVEDFILEPATH", &Settings::SavedFilePath),
        textKey(kMain, "SAVETYPE", &Settings::SaveType),
        textKey(kLinkCatcher, "ON", &Settings::LinkCatcherOn),
        textKey(kLinkCatcher, "STRICTURLS", &Settings::StrictUrls),
        textKey(kLinkCatcher, "AUTOSAVE", &Settings::LinkAutoSave),
        textKey(kLinkCatcher, "SAVETYPE", &Settings::LinkSaveType),
        textKey(kLinkCatcher, "linkcatcherSAVEDFILEPATH", &Settings::LinkSavedFilePath),
        byteKey(kMain, "HITNRUN", &Settings::HitAndRun),
    };
    auto& s = program.Settings;
    for (const auto& load : order) {
        auto value = program.ReadIni(load.section, load.key);
        if (load.textField) {
            s.*load.textField = std::move(value);
            continue;
        }
        if (const auto byte = text::toByte(value))
            s.*load.byteField = *byte;
        else if (stopAtFailure)
            return false;
    }
    return true;
}

} // namespace

void LoadSettings(shell::Program& program)
{
    auto& s = program.Settings;
    program.pollingSettingsChanged();
    s.FirstRun = program.ReadIni(kMain, "FIRSTRUN");
    const bool firstRun = !text::numberEquals(s.FirstRun, 9);
    if (firstRun) {
        const bool unreadable = settingsUnreadable(program);
        writeDefaults(program, platform::withTrailingSeparator(program.settingsFolder()),
                      unreadable);
        if (unreadable)
            program.message("TWK could not read its settings in " + s.IniPath +
                                ". It added its default settings to the file and left everything that was in it "
                                "as it was. Please take a moment to review your TWK Option Settings.",
                            platform::MessageIcon::Exclamation);
        else
            shell::ShowAppMessage(program, shell::kWelcomeMessage);
    }
    if (!loadKeys(program, firstRun)) {
        program.message("Error Writing to " + s.IniPath + ", make sure it is not write protected.",
                        platform::MessageIcon::None);
        return;
    }
    if (program.platform.environment.argumentString() == "99")
        s.HitAndRun = 0;
    logging::MakeLogFileNames(program);
    logging::PrefetchClipLogNames(program);
    logging::RotateAppendBackups(program);
}

} // namespace twk::configuration
