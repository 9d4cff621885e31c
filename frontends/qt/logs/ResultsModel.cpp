#include "ResultsModel.h"

#include <QPalette>

namespace twk::qt::logs {

ResultsModel::ResultsModel(const std::vector<logbrowser::LogFile>& logs, QObject* parent)
    : QAbstractTableModel(parent), logs_(logs)
{
}

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + (note_.isEmpty() ? 0 : 1);
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (!note_.isEmpty() && index.row() == listed()) {
        if (role == Qt::ForegroundRole)
            return QPalette().color(QPalette::Disabled, QPalette::Text);
        if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && index.column() == TextColumn)
            return note_;
        return {};
    }
    const auto* found = row(index.row());
    if (!found || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    switch (index.column()) {
    case TimeColumn:
        return QString::fromStdString(logbrowser::shownTime(found->time));
    case TextColumn:
        return QString::fromUtf8(found->firstLine.data(), static_cast<qsizetype>(found->firstLine.size()));
    case LogColumn:
        return found->file < logs_.size() ? QString::fromStdString(logs_[found->file].name) : QString();
    default:
        return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        return tr("Time");
    case TextColumn:
        return tr("Text");
    case LogColumn:
        return tr("Log");
    default:
        return {};
    }
}

void ResultsModel::clear()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    note_.clear();
    endResetModel();
}

void ResultsModel::setNote(const QString& note)
{
    if (note == note_)
        return;
    const int at = listed();
    if (note_.isEmpty()) {
        beginInsertRows({}, at, at);
        note_ = note;
        endInsertRows();
    } else if (note.isEmpty()) {
        beginRemoveRows({}, at, at);
        note_.clear();
        endRemoveRows();
    } else {
        note_ = note;
        emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
    }
}

void ResultsModel::append(std::vector<logbrowser::FoundRow> rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void ResultsModel::insertAt(int at, std::vector<logbrowser::FoundRow> rows)
{
    if (rows.empty())
        return;
    at = std::clamp(at, 0, static_cast<int>(rows_.size()));
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.begin() + at, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

const logbrowser::FoundRow* ResultsModel::row(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size())
        return nullptr;
    return &rows_[static_cast<std::size_t>(index)];
}

} // namespace twk::qt::logs
