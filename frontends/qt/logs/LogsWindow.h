#pragma once

#include "ResultsModel.h"

#include "logbrowser/CommandLine.h"
#include "logbrowser/LogChanges.h"
#include "logbrowser/RetiredSearches.h"
#include "logbrowser/SearchThread.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace twk::qt::logs {

// The log browser's window: a search box over every log of a folder, the
// matches newest first, the whole text of the one selected.
class LogsWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogsWindow(logbrowser::Place place, QWidget* parent = nullptr);
    ~LogsWindow() override;

    // Rows kept for the list; further matches are counted.
    static constexpr std::size_t kKeptRows = 200000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startSearch();
    void startUpdate(const logbrowser::LogChanges& changes);
    void drain();
    void look();
    void showCount();
    void showSelected();
    void copySelected();
    void openLink();
    void showInFile();
    std::optional<std::string> selectedText(std::size_t limit) const;
    std::vector<std::optional<platform::FileStamp>> growingStamps() const;

    logbrowser::Place place_;
    std::unique_ptr<platform::FileSystem> files_;
    std::vector<logbrowser::LogFile> logs_;
    std::optional<logbrowser::Matcher> matcher_;
    std::unique_ptr<logbrowser::SearchThread> search_;
    std::unique_ptr<logbrowser::SearchThread> update_;
    logbrowser::RetiredSearches retired_; // after files_: ends before it
    std::uint64_t counted_ = 0;           // matches of searches that have ended
    int updateRows_ = 0;                  // rows an update has put at the top
    std::vector<std::size_t> growing_;
    std::vector<std::optional<platform::FileStamp>> stamps_;
    std::optional<std::filesystem::file_time_type> folderTime_;
    bool changedWhileSearching_ = false;

    QLineEdit* query_;
    QCheckBox* regex_;
    QLabel* count_;
    QTableView* list_;
    ResultsModel* model_;
    QPlainTextEdit* text_;
    QPushButton* copy_;
    QPushButton* openLink_;
    QPushButton* showInFile_;
    QLabel* status_;
    QTimer* typing_;
    QTimer* drainer_;
    QTimer* watcher_;
};

} // namespace twk::qt::logs
