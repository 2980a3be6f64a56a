#include "ui/result_list.h"

#include <QMouseEvent>

#include "ui/japanese_font.h"

namespace kx::ui {

ResultList::ResultList(const char* name, bool copies, bool enlarges, QWidget* parent)
    : QListWidget(parent), copies_(copies), enlarges_(enlarges) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setFont(JapaneseFont(9));
}

void ResultList::mousePressEvent(QMouseEvent* event) {
    emit pressed();
    if (copies_ && event->button() == Qt::RightButton) {
        emit copyRequested();
        return;  // the selection to copy stays as it is
    }
    QListWidget::mousePressEvent(event);
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event) {
    if (enlarges_ && event->button() == Qt::LeftButton) {
        emit enlargeRequested();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

}  // namespace kx::ui
