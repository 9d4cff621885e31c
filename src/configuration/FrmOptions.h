#pragma once

#include "ui/CheckBox.h"
#include "ui/Control.h"
#include "ui/ListBox.h"
#include "ui/OptionButton.h"
#include "ui/Window.h"

namespace twk::shell {
class Program;
}

namespace twk::configuration {

inline constexpr const char* kOptionsPlacementSection = "frmOptions";

// "TWK Options": every setting on three pages. Nothing reaches the INI file
// until "Save Changes", except the two pickers, which write at once.
class FrmOptions : public ui::Window {
public:
    explicit FrmOptions(shell::Program& program);

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    void List1_Click();
    void Check7_Click();
    void cmdPickViewer_Click();
    void cmdAMLFPATH_Click();
    void Command1_Click();
    void Command8_Click();
    void Command1_MouseMove();
    void Command8_MouseMove();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // The text of the hit-and-run notice.
    std::string HitAndRunNotice() const;

    ui::ListBox List1{{"General", "Clipboard Logging", "Link/URL Logging"}};
    ui::Control Frame1{"TWK General Options"};
    ui::Control Frame3{"Clipboard Logging"};
    ui::Control Frame2{"Link Catcher/Logging"};
    ui::Control Label2{"TWK 3.0"};

    // Page "General"
    ui::CheckBox Check1{"TWK On?", "Clipboard conversion and Link Catcher off when this is checked."};
    ui::CheckBox Check2{"Beep?", "Will beep when new text is found on the clipboard if hecked."};
    ui::CheckBox Check3{"Auto Open Viewers?", "Will automatically open the Link Catcher and Text Catcher viewer "
                                              "windows when TWK loads if checked."};
    ui::CheckBox Check7{"Hit && Run?", "If checked, TWK will load, do everything you have set it to do with what is "
                                       "on the clipboard, then exit immediately when done."};
    ui::CheckBox chkXYPOS{"Remember Window Positions?"};
    ui::CheckBox Check12{"Popup after copy?", "Show Text Viewer After Coping Text"};
    ui::CheckBox Check13{"JavaScript Stripper?", "Attempt to strip URL's out of javascript:"};
    // Not a setting of the INI file: the desktop's own entry for starting the program at login.
    ui::CheckBox Check14{"Start with the desktop?", "Start TWK when you log in if checked."};
    ui::Control Label1{"Pick Clipboard Checking Frequency"};
    ui::OptionButton Option1{"1 Frequent", "Check clipboard more frequently, use if you're a realy fast copy/paster."};
    ui::OptionButton Option2{"2"};
    ui::OptionButton Option3{"3 Medium"};
    ui::OptionButton Option4{"4"};
    ui::OptionButton Option5{"5 Infrequently", "Select this if you rarely copy to the clipboard."};
    ui::Button cmdPickViewer{"Editor", "Set Log Viewer Program"};

    // Page "Clipboard Logging"
    ui::CheckBox Check5{"Auto Save Clipboard Text to a Log?"};
    ui::CheckBox Check9{"Clear Clipboard After Log Save?",
                        "Check this to clear the clipboard after saving text to log file"};
    ui::CheckBox Check10{"Append/List Mode", "Append new clipboard text to text viewer instead of replacing"};
    ui::CheckBox Check11{"Autosave Appended File?"};
    ui::Button cmdAMLFPATH{"", "Set Filename To Save Appended File As"};
    ui::OptionButton Option6{"One continuous appended TWK.TXT file", "This could result in an enourmous file."};
    ui::OptionButton Option7{"One file per clip copy with date_time as file name"};
    ui::OptionButton Option8{"One File per date with date stamp as file name"};
    ui::Button Command1{"", "Change Destination for main clipboard logs"};

    // Page "Link/URL Logging"
    ui::CheckBox Check4{"Link Catcher On", "Will monitor clipboard text for certain links such as URL's, e-mail "
                                           "addresses, ftp sites, etc."};
    ui::CheckBox Check8{"Strict URL's", "Only text STARTING with url identifiers such as HTTP, and mailto: will be "
                                        "captured in TWK Link Catcher when this is checked."};
    ui::CheckBox Check6{"Save Links From Linkcatcher/Clipboard to a File?"};
    ui::OptionButton Option9{"One continuous appended TWKURL.TXT"};
    ui::OptionButton Option10{"One File per day, date stamp as file name (uDateTime.txt)"};
    ui::Button Command8{"", "Change Destination of Link Catcher logs"};

    // The buttons along the bottom
    ui::Button Command5{"Help (F1)"};
    ui::Button Command4{"&About"};
    ui::Button Command3{"&Cancel", "Resume TWK but do not save unapplied changes."};
    ui::Button Command2{"&Save Changes", "Save/Apply Changes you made & close this window."};

private:
    void fillControls();
    void openBrowser(int mode, const std::string& savedFolder);
    std::string pickFile(const char* title, const char* key, const char* filter, bool viewer);

    shell::Program& program_;
    ui::OptionGroup frequency_{{&Option1, &Option2, &Option3, &Option4, &Option5}};
    ui::OptionGroup saveType_{{&Option6, &Option7, &Option8}};
    ui::OptionGroup linkSaveType_{{&Option9, &Option10}};
};

} // namespace twk::configuration
