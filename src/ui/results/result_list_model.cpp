#include "ui/results/result_list_model.h"

#include <algorithm>
#include <cassert>

namespace kx::ui {

std::size_t ResultListModel::shownRows() const {
    return log_ != nullptr ? logRows_ : texts_.size();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shownRows());
}

QModelIndex ResultListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || static_cast<std::size_t>(row) >= shownRows() || column != 0 || parent.isValid())
        return {};
    return createIndex(row, column);
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return QString::fromStdString(Text(index.row()));
}

std::string ResultListModel::Text(int row) const {
    const auto i = static_cast<std::size_t>(row);
    if (log_ == nullptr) return i < texts_.size() ? texts_[i] : std::string();
    // A log replaced under the list (a new run starting) has no old lines.
    return i < logRows_ && i < log_->size() ? (*log_)[i] : std::string();
}

void ResultListModel::Clear() {
    beginResetModel();
    logRows_ = 0;
    texts_.clear();
    endResetModel();
}

void ResultListModel::Follow(const core::FittingLog& log) {
    beginResetModel();
    log_ = &log;
    logRows_ = 0;
    texts_.clear();
    endResetModel();
}

void ResultListModel::ShowLogSoFar() {
    if (log_ == nullptr || log_->size() <= logRows_) return;
    beginInsertRows(QModelIndex(), static_cast<int>(logRows_), static_cast<int>(log_->size()) - 1);
    logRows_ = log_->size();
    endInsertRows();
}

void ResultListModel::Append(const std::vector<std::string>& texts) {
    assert(log_ == nullptr);
    if (texts.empty()) return;
    const int first = static_cast<int>(texts_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(texts.size()) - 1);
    texts_.insert(texts_.end(), texts.begin(), texts.end());
    endInsertRows();
}

core::FittingLog ResultListModel::ShownLog() const {
    if (log_ == nullptr) return {};
    // A copy of the records is cheap; only a log that went on after it was
    // last shown is cut to what the list shows, line by line.
    if (logRows_ == log_->size()) return *log_;
    core::FittingLog shown;
    const std::size_t rows = std::min(logRows_, log_->size());
    for (std::size_t i = 0; i < rows; ++i) shown.AddText((*log_)[i]);
    return shown;
}

}  // namespace kx::ui
