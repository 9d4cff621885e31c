#pragma once

#include "logbrowser/LogFiles.h"
#include "logbrowser/SearchThread.h"

#include <QAbstractTableModel>

#include <vector>

namespace twk::qt::logs {

// The matches of the present search, newest first: time, first line, log.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, TextColumn, LogColumn, ColumnCount };

    explicit ResultsModel(const std::vector<logbrowser::LogFile>& logs, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    // Rows of a search, after those there are; rows added to a log since, at
    // the top (at `at`, which counts the rows put there since the last clear).
    void append(std::vector<logbrowser::FoundRow> rows);
    void insertAt(int at, std::vector<logbrowser::FoundRow> rows);
    // Null for the note's row.
    const logbrowser::FoundRow* row(int index) const;
    int listed() const { return static_cast<int>(rows_.size()); }
    // A last row that says what the list leaves out; empty: none.
    void setNote(const QString& note);
    const QString& note() const { return note_; }

private:
    const std::vector<logbrowser::LogFile>& logs_;
    std::vector<logbrowser::FoundRow> rows_;
    QString note_;
};

} // namespace twk::qt::logs
