#pragma once

#include <QListView>
#include <QString>

#include "ui/results/result_list_model.h"

namespace kx::ui {

// One of the four lists of the program-generation window, a view on its own
// rows. Every press is announced first (the window clears the other lists'
// selections); a right press on a list that copies asks for the copy and
// leaves the selection as it is; a left double click on a list that can be
// enlarged asks for that.
class ResultList : public QListView {
    Q_OBJECT
public:
    ResultList(const char* name, bool copies, bool enlarges, QWidget* parent);

    ResultListModel& rows() { return rows_; }
    const ResultListModel& rows() const { return rows_; }
    int count() const { return rows_.rowCount(); }
    // The selected rows in list order, each followed by CR LF.
    QString SelectedText() const;

signals:
    void pressed();
    void copyRequested();
    void enlargeRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ResultListModel rows_;
    bool copies_;
    bool enlarges_;
};

}  // namespace kx::ui
