#pragma once

#include "NativeWindow.h"

#include <string>

namespace twk::configuration {
class FrmFileBrowser;
}

namespace twk::win32 {

// "TWK Browse for File or Directory" at its fixed layout: the drive list, the
// folder list (a double-click or Enter opens a folder, ".." the one above),
// the bold path box and Cancel / Ok.
class BrowserWindow final : public NativeWindow {
public:
    BrowserWindow(configuration::FrmFileBrowser& browser, double twipsPerPixel);
    ~BrowserWindow() override;

    void detach() override;
    // The lists follow the model whenever the window does: loading sets the
    // drive and folder without a change of either.
    void windowChanged() override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool cancel() override;
    bool accept() override;

private:
    void showFolders();
    void showPath();
    void openSelected();

    configuration::FrmFileBrowser& browser_;
    HWND drives_ = nullptr;
    HWND folders_ = nullptr;
    HWND path_ = nullptr;
    HFONT bold_ = nullptr;
};

// The folder a folder-list entry opens: ".." goes up one level, and never
// above a drive root ("C:\").
std::string folderOpenedBy(const std::string& current, const std::string& entry);

} // namespace twk::win32
