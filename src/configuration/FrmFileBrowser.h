#pragma once

#include "ui/Control.h"
#include "ui/ListBox.h"
#include "ui/TextBox.h"
#include "ui/Window.h"

#include <string>
#include <vector>

namespace twk::shell {
class Program;
}

namespace twk::configuration {

inline constexpr const char* kBrowserPlacementSection = "frmfilebrowser";

// The folder list: the folder last opened in it, and what it holds.
struct FolderList {
    std::string path;
    std::vector<std::string> subfolders;
};

// "TWK Browse for File or Directory": picks a log folder for the options
// window, which stores it only when its own changes are saved.
class FrmFileBrowser : public ui::Window {
public:
    explicit FrmFileBrowser(shell::Program& program);

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

    // Sets the drive list, then the folder list, to what holds the folder,
    // as the options window does when it opens the browser.
    void openOn(const std::string& folder);
    // The user picks a drive, or opens a folder (a double-click in the list).
    void chooseDrive(const std::string& drive);
    void openFolder(const std::string& folder);
    const std::string& drive() const { return drive_; }

    void Drive1_Change();
    void Dir1_Change();
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();

    ui::ListBox Drive1;
    FolderList Dir1;
    ui::TextBox Text1{{120, 3120, 4335, 495}};
    ui::Button Command1{"&Cancel"};
    ui::Button Command2{"&Ok", "To make new options stick click the 'Save Changes' button in the TWK Options window."};
    std::function<void()> onFoldersShown; // a front end redraws both lists

private:
    // False when the folder cannot be opened.
    bool setFolder(const std::string& folder);
    void setDrive(const std::string& drive);
    void fallBack();

    shell::Program& program_;
    std::string drive_;
    bool fallingBack_ = false;
};

// A folder as the folder list reports it: no closing separator but at a root.
std::string FolderListPath(std::string folder);

} // namespace twk::configuration
