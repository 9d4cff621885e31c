#pragma once

#include "WindowWidget.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace twk::configuration {
class FrmFileBrowser;
}

namespace twk::qt {

// "TWK Browse for File or Directory": a drive list, a folder list (a
// double-click opens a folder), the path box and OK / Cancel.
class BrowserWidget final : public WindowWidget {
    Q_OBJECT
public:
    BrowserWidget(configuration::FrmFileBrowser& browser, double twipsPerPixel, std::function<void()> onHelp);
    void detach() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFolders();
    void showPath();

    configuration::FrmFileBrowser& browser_;
    QComboBox* drives_;
    QListWidget* folders_;
    QLineEdit* path_;
    QPushButton* cancel_ = nullptr;
};

} // namespace twk::qt
