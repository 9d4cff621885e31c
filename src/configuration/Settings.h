#pragma once

#include <cstdint>
#include <string>

namespace twk::configuration {

// The program-wide settings record. Keys stored as text keep their text;
// flags held as bytes were converted when loaded.
struct Settings {
    std::uint8_t RememberPositions = 0;
    std::uint8_t PopupAfterCopy = 0;
    std::string DateStamp;
    std::string TimeStamp;
    std::string CaptureOn;
    std::string BeepOn;
    std::uint8_t AutoOpenViewers = 0;
    std::string Frequency;
    std::string AutoSave;
    std::uint8_t AutoClear = 0;
    std::uint8_t JavaScriptStripper = 0;
    std::uint8_t AppendMode = 0;
    std::uint8_t AutosaveAppendedFile = 0;
    std::string SaveType;
    std::string SavedFilePath;
    std::string LinkCatcherOn;
    std::string StrictUrls;
    std::string LinkAutoSave;
    std::string LinkSaveType;
    std::string LinkSavedFilePath;
    std::uint8_t HitAndRun = 0;
    std::string FirstRun;
    // Working state of the options dialog and the folder browser.
    std::string PendingLogFolder;
    std::string PendingLinkLogFolder;
    std::uint8_t LogFolderTouched = 0;
    std::uint8_t LinkLogFolderTouched = 0;
    std::uint8_t BrowseMode = 0;
    std::uint8_t ShuttingDown = 0;
    std::string ClipLogPath;
    std::string LinkLogPath;
    std::int16_t LastIniResult = 0;
    std::string CurrentLogPath;
    std::string IniPath;
    std::string StoredHitAndRun;
};

} // namespace twk::configuration
