#include "ui/result_list.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>
#include <vector>

#include "ui/japanese_font.h"

namespace kx::ui {

ResultList::ResultList(const char* name, bool copies, bool enlarges, QWidget* parent)
    : QListView(parent), copies_(copies), enlarges_(enlarges) {
    setObjectName(name);
    setModel(&rows_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // All rows are one line of the same font: the view sizes them by the
    // first and asks only for the rows it paints.
    setUniformItemSizes(true);
    setFont(JapaneseFont(9));
}

QString ResultList::SelectedText() const {
    // The selection lists rows in the order they were selected.
    std::vector<int> selected;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        selected.push_back(index.row());
    std::sort(selected.begin(), selected.end());
    QString text;
    for (int row : selected) text += QString::fromStdString(rows_.Text(row)) + "\r\n";
    return text;
}

void ResultList::mousePressEvent(QMouseEvent* event) {
    emit pressed();
    if (copies_ && event->button() == Qt::RightButton) {
        emit copyRequested();
        return;  // the selection to copy stays as it is
    }
    QListView::mousePressEvent(event);
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event) {
    if (enlarges_ && event->button() == Qt::LeftButton) {
        emit enlargeRequested();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

}  // namespace kx::ui
