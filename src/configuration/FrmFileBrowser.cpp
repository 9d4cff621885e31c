#include "configuration/FrmFileBrowser.h"

#include "configuration/FrmOptions.h"
#include "configuration/Placement.h"
#include "platform/PathRules.h"
#include "shell/Program.h"

namespace twk::configuration {

std::string FolderListPath(std::string folder)
{
    return platform::folderForDisplay(std::move(folder));
}

FrmFileBrowser::FrmFileBrowser(shell::Program& program)
    : ui::Window("TWK Browse for File or Directory", {0, 0, 4650, 4680}), program_(program)
{
    Text1.onChange = [this] { Text1_Change(); };
    Text1.setVisible(false);
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Drive1.onClick = [this] {
        const auto index = Drive1.selectedIndex();
        if (index >= 0 && index < static_cast<int>(Drive1.items().size()))
            chooseDrive(Drive1.items()[static_cast<std::size_t>(index)]);
    };
}

void FrmFileBrowser::Form_Load()
{
    auto& folders = program_.platform.folders;
    Drive1.setItems(folders.drives());
    // Like any folder list, it starts where the program is.
    const auto start = FolderListPath(program_.settingsFolder());
    drive_ = folders.driveOf(start);
    Dir1.path = start;
    Dir1.subfolders = folders.subfolders(start).value_or(std::vector<std::string>{});
    if (onFoldersShown)
        onFoldersShown();

    auto& environment = program_.platform.environment;
    centre(static_cast<float>(environment.screenWidthTwips()), static_cast<float>(environment.screenHeightTwips()));
    if (program_.Settings.RememberPositions == 1)
        PlacementRestore(program_, *this, kBrowserPlacementSection);
}

void FrmFileBrowser::Form_Unload(bool& cancel)
{
    cancel = false;
    PlacementSave(program_, *this, kBrowserPlacementSection);
    if (program_.frmOptions.loaded())
        program_.frmOptions->setEnabled(true);
}

void FrmFileBrowser::openOn(const std::string& folder)
{
    setDrive(program_.platform.folders.driveOf(FolderListPath(folder)));
    if (!setFolder(folder))
        fallBack();
    // Opened on the folder the list shows already, nothing changed: the user
    // must still see where they are.
    if (Text1.text().empty())
        Dir1_Change();
}

void FrmFileBrowser::chooseDrive(const std::string& drive)
{
    setDrive(drive);
}

void FrmFileBrowser::openFolder(const std::string& folder)
{
    if (!setFolder(folder))
        fallBack();
}

void FrmFileBrowser::setDrive(const std::string& drive)
{
    if (drive == drive_)
        return;
    drive_ = drive;
    if (onFoldersShown)
        onFoldersShown();
    Drive1_Change();
}

bool FrmFileBrowser::setFolder(const std::string& folder)
{
    const auto path = FolderListPath(folder);
    if (path == Dir1.path)
        return true; // the list shows it already: no change
    const auto subfolders = program_.platform.folders.subfolders(path);
    if (!subfolders)
        return false;
    Dir1 = {path, *subfolders};
    if (onFoldersShown)
        onFoldersShown();
    Dir1_Change();
    return true;
}

void FrmFileBrowser::fallBack()
{
    // Back to the main log folder; if even that cannot be shown, the root of
    // its drive, and failing that the root of the program's own drive. A root
    // as the drive list names it ("C:\"): a bare separator would name no
    // drive, and OK would hand it back as the folder.
    if (fallingBack_)
        return;
    fallingBack_ = true;
    auto& folders = program_.platform.folders;
    const auto saved = program_.Settings.SavedFilePath;
    setDrive(folders.driveOf(FolderListPath(saved)));
    if (!setFolder(saved) && !setFolder(drive_))
        setDrive(folders.driveOf(FolderListPath(program_.settingsFolder())));
    fallingBack_ = false;
}

void FrmFileBrowser::Drive1_Change()
{
    // A drive shows its own top folder.
    if (!setFolder(drive_))
        fallBack();
}

void FrmFileBrowser::Dir1_Change()
{
    Text1.setText(platform::withTrailingSeparator(Dir1.path));
}

void FrmFileBrowser::Text1_Change()
{
    if (!Text1.text().empty())
        Text1.setVisible(true);
}

void FrmFileBrowser::Command2_Click()
{
    auto& s = program_.Settings;
    if (s.BrowseMode == 1 && s.LogFolderTouched == 1)
        s.PendingLogFolder = Dir1.path;
    else if (s.BrowseMode == 2 && s.LinkLogFolderTouched == 1)
        s.PendingLinkLogFolder = Dir1.path;
    requestClose();
}

void FrmFileBrowser::Command1_Click()
{
    requestClose();
}

} // namespace twk::configuration
