#include "BrowserWidget.h"

#include "ControlBinding.h"
#include "Texts.h"
#include "configuration/FrmFileBrowser.h"
#include "platform/PathRules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace twk::qt {
namespace {

const QString kParent = QStringLiteral("..");

} // namespace

BrowserWidget::BrowserWidget(configuration::FrmFileBrowser& b, double twipsPerPixel, std::function<void()> onHelp)
    : WindowWidget(b, twipsPerPixel, std::move(onHelp)), browser_(b), drives_(new QComboBox), folders_(new QListWidget),
      path_(new QLineEdit)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drives_);
    layout->addWidget(folders_, 1);
    QFont bold = path_->font();
    bold.setBold(true);
    path_->setFont(bold);
    path_->setReadOnly(true);
    layout->addWidget(path_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = new QPushButton;
    auto* ok = new QPushButton;
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    bind(*this, *cancel, b.Command1);
    bind(*this, *ok, b.Command2);

    cancel_ = cancel;
    connect(drives_, &QComboBox::activated, this, [this](int index) {
        const QString drive = drives_->itemText(index);
        whenAttached([this, drive] { browser_.chooseDrive(fromQt(drive)); });
    });
    // Opening a folder is a double-click (or Enter); a highlighted one does not count.
    connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString name = item->text();
        whenAttached([this, name] {
            const auto& current = browser_.Dir1.path;
            std::string target;
            if (name == kParent) {
                const auto slash = current.find_last_of(platform::kFolderSeparator);
                target = slash == 0 || slash == std::string::npos ? std::string(1, platform::kFolderSeparator)
                                                                  : current.substr(0, slash);
            } else {
                target = platform::withTrailingSeparator(current) + fromQt(name);
            }
            browser_.openFolder(target);
        });
    });
    b.onFoldersShown = [this] { showFolders(); };
    // The drive list is filled when the window loads, after this widget exists.
    b.Drive1.onDisplay = [this] { showFolders(); };
    b.Text1.onDisplay = [this] { showPath(); };
    showFolders();
    showPath();
    windowChanged();
}

void BrowserWidget::detach()
{
    if (attached()) {
        browser_.onFoldersShown = nullptr;
        browser_.Drive1.onDisplay = nullptr;
        browser_.Text1.onDisplay = nullptr;
    }
    WindowWidget::detach();
}

void BrowserWidget::keyPressEvent(QKeyEvent* event)
{
    // Esc reaches the window only when no part of it took it: an open drive
    // list closes itself and keeps the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancel_->click();
        return;
    }
    WindowWidget::keyPressEvent(event);
}

void BrowserWidget::showFolders()
{
    const QSignalBlocker quietDrives(drives_);
    drives_->clear();
    for (const auto& drive : browser_.Drive1.items())
        drives_->addItem(toQt(drive));
    drives_->setCurrentText(toQt(browser_.drive()));
    folders_->clear();
    if (browser_.Dir1.path != std::string(1, platform::kFolderSeparator))
        folders_->addItem(kParent);
    for (const auto& name : browser_.Dir1.subfolders)
        folders_->addItem(toQt(name));
}

void BrowserWidget::showPath()
{
    path_->setText(toQt(browser_.Text1.text()));
    path_->setVisible(browser_.Text1.visible());
    path_->setEnabled(browser_.Text1.enabled());
}

} // namespace twk::qt
