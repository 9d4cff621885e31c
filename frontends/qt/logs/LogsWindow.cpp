#include "LogsWindow.h"

#include "logbrowser/LogEntries.h"
#include "logging/LinkToOpen.h"
#include "platform/NativeLayer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <variant>

namespace twk::qt::logs {
namespace {

using logbrowser::LogFile;

// Shown and copied as the desktop writes text: with LF line breaks.
QString shownText(std::string_view text)
{
    std::string lf;
    lf.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            continue;
        lf += text[at];
    }
    return QString::fromUtf8(lf.data(), static_cast<qsizetype>(lf.size()));
}

std::optional<std::filesystem::file_time_type> folderTime(const std::string& folder)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(folder, error);
    if (error)
        return std::nullopt;
    return time;
}

constexpr std::size_t kShownLimit = 1 << 20;
constexpr std::size_t kCopiedLimit = std::size_t{512} << 20;

} // namespace

LogsWindow::LogsWindow(logbrowser::Place place, QWidget* parent)
    : QWidget(parent), place_(std::move(place)), files_(platform::makeNativeFileSystem())
{
    setWindowTitle(tr("TWK Logs - %1").arg(QString::fromStdString(place_.folder)));
    setObjectName(QStringLiteral("twk3-logs"));

    query_ = new QLineEdit(this);
    query_->setPlaceholderText(tr("Search the logs"));
    query_->setClearButtonEnabled(true);
    regex_ = new QCheckBox(tr("Regular e&xpression"), this);
    count_ = new QLabel(this);
    auto* top = new QHBoxLayout;
    top->addWidget(query_, 1);
    top->addWidget(regex_);
    top->addWidget(count_);

    model_ = new ResultsModel(logs_, this);
    list_ = new QTableView(this);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setSectionResizeMode(ResultsModel::TextColumn, QHeaderView::Stretch);
    list_->horizontalHeader()->resizeSection(
        ResultsModel::TimeColumn, list_->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-05 14:03:07")) + 16);
    list_->installEventFilter(this);
    query_->installEventFilter(this);

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(list_);
    splitter->addWidget(text_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    copy_ = new QPushButton(tr("&Copy"), this);
    openLink_ = new QPushButton(tr("Open &Link"), this);
    showInFile_ = new QPushButton(tr("Show in &File"), this);
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(copy_);
    bottom->addWidget(openLink_);
    bottom->addWidget(showInFile_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    resize(900, 600);

    typing_ = new QTimer(this);
    typing_->setSingleShot(true);
    typing_->setInterval(60);
    drainer_ = new QTimer(this);
    drainer_->setInterval(15);
    watcher_ = new QTimer(this);
    watcher_->setInterval(1000);

    connect(query_, &QLineEdit::textChanged, typing_, qOverload<>(&QTimer::start));
    connect(regex_, &QCheckBox::toggled, this, &LogsWindow::startSearch);
    // Typing goes on in the search box after the box is ticked by its key.
    connect(regex_, &QCheckBox::toggled, query_, qOverload<>(&QWidget::setFocus));
    connect(typing_, &QTimer::timeout, this, &LogsWindow::startSearch);
    connect(drainer_, &QTimer::timeout, this, &LogsWindow::drain);
    connect(watcher_, &QTimer::timeout, this, &LogsWindow::look);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LogsWindow::showSelected);
    connect(list_, &QTableView::doubleClicked, this, &LogsWindow::copySelected);
    connect(copy_, &QPushButton::clicked, this, &LogsWindow::copySelected);
    connect(openLink_, &QPushButton::clicked, this, &LogsWindow::openLink);
    connect(showInFile_, &QPushButton::clicked, this, &LogsWindow::showInFile);

    query_->setFocus();
    folderTime_ = folderTime(place_.folder);
    startSearch();
    watcher_->start();
}

LogsWindow::~LogsWindow() = default;

void LogsWindow::startSearch()
{
    // The searches replaced end off this thread: the window never waits for them.
    retired_.retire(std::move(update_));
    retired_.retire(std::move(search_));
    model_->clear();
    text_->clear();
    counted_ = 0;
    updateRows_ = 0;
    changedWhileSearching_ = false;
    auto made = logbrowser::Matcher::make(query_->text().toStdString(), regex_->isChecked());
    if (const auto* problem = std::get_if<std::string>(&made)) {
        matcher_.reset();
        count_->setText(tr("not an expression"));
        status_->setText(QString::fromStdString(*problem));
        drainer_->stop();
        return;
    }
    matcher_ = std::get<logbrowser::Matcher>(std::move(made));
    status_->clear();
    folderTime_ = folderTime(place_.folder);
    logs_ = logbrowser::logsInFolder(place_.folder);
    growing_ = logbrowser::growingLogs(logs_);
    stamps_ = growingStamps();
    logbrowser::SearchScope scope;
    scope.files = logs_;
    scope.to.assign(logs_.size(), 0);
    // Each log that can grow is read up to the size stamped, so a later look reads only what came after.
    for (std::size_t i = 0; i < growing_.size(); ++i)
        if (stamps_[i])
            scope.to[growing_[i]] = stamps_[i]->size;
    for (std::size_t i = 0; i < logs_.size(); ++i) {
        std::error_code error;
        if (!place_.file.empty() && std::filesystem::equivalent(logs_[i].path, place_.file, error))
            scope.first = i;
    }
    if (logs_.empty())
        status_->setText(tr("No logs in %1").arg(QString::fromStdString(place_.folder)));
    search_ = std::make_unique<logbrowser::SearchThread>(*files_, std::move(scope), *matcher_, kKeptRows);
    showCount();
    drainer_->start();
}

void LogsWindow::startUpdate(const logbrowser::LogChanges& changes)
{
    if (!matcher_)
        return;
    // What an update finds is newer than every row listed: it goes on top, in its order.
    updateRows_ = 0;
    logbrowser::SearchScope scope;
    for (const auto& added : changes.added)
        logs_.push_back(added);
    scope.files = logs_;
    scope.from.assign(logs_.size(), 0);
    scope.to.assign(logs_.size(), 0);
    const auto now = growingStamps();
    for (const std::size_t grown : changes.grown) {
        scope.only.push_back(growing_[grown]);
        scope.from[growing_[grown]] = stamps_[grown]->size;
        scope.to[growing_[grown]] = now[grown]->size;
    }
    for (std::size_t i = logs_.size() - changes.added.size(); i < logs_.size(); ++i)
        scope.only.push_back(i);
    stamps_ = now;
    if (update_)
        counted_ += update_->matches();
    retired_.retire(std::move(update_));
    update_ = std::make_unique<logbrowser::SearchThread>(*files_, std::move(scope), *matcher_, kKeptRows);
    drainer_->start();
}

void LogsWindow::drain()
{
    // A bounded share of rows per turn of the event loop keeps the window answering.
    constexpr std::size_t kRowsPerTurn = 5000;
    bool busy = false;
    if (search_) {
        model_->append(search_->take(kRowsPerTurn));
        busy = !search_->finished();
        if (model_->listed() > 0 && !list_->currentIndex().isValid())
            list_->setCurrentIndex(model_->index(0, 0));
    }
    if (update_) {
        auto rows = update_->take(kRowsPerTurn);
        const int count = static_cast<int>(rows.size());
        model_->insertAt(updateRows_, std::move(rows));
        updateRows_ += count;
        busy = busy || !update_->finished();
    }
    showCount();
    if (!busy) {
        drainer_->stop();
        if (changedWhileSearching_)
            look();
    }
}

void LogsWindow::showCount()
{
    std::uint64_t matches = counted_;
    bool searching = false;
    for (const auto* thread : {search_.get(), update_.get()}) {
        if (!thread)
            continue;
        matches += thread->matches();
        searching = searching || thread->searching();
    }
    const bool all = matcher_ && matcher_->matchesEverything();
    const QString number = QLocale().toString(static_cast<qulonglong>(matches));
    QString text = all ? (matches == 1 ? tr("1 entry") : tr("%1 entries").arg(number))
                       : (matches == 1 ? tr("1 match") : tr("%1 matches").arg(number));
    // The list keeps the newest rows only; the count goes on over every match.
    const auto listed = static_cast<std::uint64_t>(model_->listed());
    QString note;
    if (matches > listed && (listed >= kKeptRows || !searching)) {
        text += tr(", the newest %1 listed").arg(QLocale().toString(static_cast<qulonglong>(listed)));
        const auto older = matches - listed;
        const QString what = older == 1 ? (all ? tr("1 older entry is") : tr("1 older match is"))
                                        : (all ? tr("%1 older entries are") : tr("%1 older matches are"))
                                              .arg(QLocale().toString(static_cast<qulonglong>(older)));
        note = tr("%1 not listed: narrow the search to see them, or run twk3-logs --search, which prints "
                  "every match.")
                   .arg(what);
    }
    model_->setNote(note);
    count_->setToolTip(note);
    if (searching)
        text += tr(", searching...");
    count_->setText(text);
}

std::vector<std::optional<platform::FileStamp>> LogsWindow::growingStamps() const
{
    std::vector<std::optional<platform::FileStamp>> stamps;
    for (const std::size_t index : growing_)
        stamps.push_back(files_->stamp(logs_[index].path));
    return stamps;
}

void LogsWindow::look()
{
    if ((search_ && search_->searching()) || (update_ && update_->searching())) {
        changedWhileSearching_ = true;
        return;
    }
    changedWhileSearching_ = false;
    std::optional<std::vector<LogFile>> listed;
    const auto time = folderTime(place_.folder);
    if (time != folderTime_) {
        folderTime_ = time;
        listed = logbrowser::logsInFolder(place_.folder);
    }
    std::vector<LogFile> growingNow;
    for (const std::size_t index : growing_)
        growingNow.push_back(logs_[index]);
    const auto now = growingStamps();
    auto changes = logbrowser::logChanges(logs_, {}, {}, listed);
    const auto stampChanges = logbrowser::logChanges(growingNow, stamps_, now, std::nullopt);
    changes.grown = stampChanges.grown;
    changes.other = changes.other || stampChanges.other;
    // A new log that can grow changes which logs are watched: read everything again.
    for (const auto& added : changes.added)
        if (added.kind != logbrowser::LogKind::ClipPerCopy)
            changes.other = true;
    if (changes.other)
        startSearch();
    else if (changes.any())
        startUpdate(changes);
}

std::optional<std::string> LogsWindow::selectedText(std::size_t limit) const
{
    const auto* found = model_->row(list_->currentIndex().row());
    if (!found || found->file >= logs_.size())
        return std::nullopt;
    const auto entry = logbrowser::readEntryText(*files_, logs_[found->file], found->offset, limit);
    if (!entry)
        return std::nullopt;
    return entry->text;
}

void LogsWindow::showSelected()
{
    const auto* found = model_->row(list_->currentIndex().row());
    if (!found || found->file >= logs_.size()) {
        // The note's row, if it is the one selected, says it whole.
        text_->setPlainText(list_->currentIndex().isValid() ? model_->note() : QString());
        return;
    }
    const auto entry = logbrowser::readEntryText(*files_, logs_[found->file], found->offset, kShownLimit);
    if (!entry) {
        text_->setPlainText(tr("(this entry can no longer be read: its log was changed)"));
        return;
    }
    QString shown = shownText(entry->text);
    if (entry->cut)
        shown += tr("\n\n[The text goes on: Copy takes all of it.]");
    text_->setPlainText(shown);
    status_->setText(QString::fromStdString(logs_[found->file].path));
}

void LogsWindow::copySelected()
{
    const auto text = selectedText(kCopiedLimit);
    if (!text)
        return;
    QApplication::clipboard()->setText(shownText(*text));
    status_->setText(tr("Copied to the clipboard."));
}

void LogsWindow::openLink()
{
    std::optional<std::string> link;
    const QString selection = text_->textCursor().selectedText();
    if (!selection.isEmpty())
        link = logging::LinkToOpen(selection.toStdString());
    if (!link) {
        // The first word of the text that is an address.
        const auto text = selectedText(kShownLimit);
        const QStringList words =
            text ? shownText(*text).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                 : QStringList();
        for (const QString& word : words) {
            link = logging::LinkToOpen(word.toStdString());
            if (link)
                break;
        }
    }
    if (!link) {
        status_->setText(tr("No link in this entry."));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(*link)));
    status_->setText(tr("Opened %1").arg(QString::fromStdString(*link)));
}

void LogsWindow::showInFile()
{
    const auto* found = model_->row(list_->currentIndex().row());
    if (!found || found->file >= logs_.size())
        return;
    const QString path = QString::fromStdString(logs_[found->file].path);
    // The file selected in the desktop's file manager; where there is none
    // that answers, its folder with the desktop's opener.
    QDBusInterface manager(QStringLiteral("org.freedesktop.FileManager1"),
                           QStringLiteral("/org/freedesktop/FileManager1"),
                           QStringLiteral("org.freedesktop.FileManager1"));
    bool shown = false;
    if (manager.isValid()) {
        const QDBusMessage reply =
            manager.call(QStringLiteral("ShowItems"), QStringList{QUrl::fromLocalFile(path).toString()}, QString());
        shown = reply.type() == QDBusMessage::ReplyMessage;
    }
    if (!shown)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(place_.folder)));
    status_->setText(tr("%1, at byte %2").arg(path).arg(found->offset));
}

bool LogsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (watched == list_ || watched == query_)) {
            copySelected();
            return true;
        }
        // Up and down in the search box move through the list.
        if (watched == query_ && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                                  key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown)) {
            QApplication::sendEvent(list_, event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace twk::qt::logs
