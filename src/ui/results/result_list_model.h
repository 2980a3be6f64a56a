#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

#include "core/fitting/fitting_log.h"

namespace kx::ui {

// The rows of one result list. A list either follows a fitting log, showing
// the lines written so far, or holds texts of its own. Rows are formatted only
// when the view asks for them: a run's log has tens of thousands of lines, of
// which a window shows a few dozen.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The view asks for an index of every row each time it lays the list
    // out: answered without the general checks' calls back into the model.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // No rows; a followed log stays followed.
    void Clear();
    // From now on the rows are lines of `log`, none of them shown yet.
    void Follow(const core::FittingLog& log);
    // Appends the lines the followed log gained since it was last shown.
    void ShowLogSoFar();
    // Appends texts of the list's own.
    void Append(const std::vector<std::string>& texts);

    std::string Text(int row) const;
    // The texts of a list of its own.
    const std::vector<std::string>& texts() const { return texts_; }
    // The followed log as far as shown.
    core::FittingLog ShownLog() const;

private:
    std::size_t shownRows() const;

    const core::FittingLog* log_ = nullptr;
    std::size_t logRows_ = 0;
    std::vector<std::string> texts_;
};

}  // namespace kx::ui
