#include "ui/results/result_list.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <vector>

#include "render/japanese_font.h"

namespace kx::ui {
namespace {

// A row is one line of plain text: drawn as it stands from its baseline,
// clipped at the edge of the list, without the general item layout (icons,
// wrapping, elision) or the text layout of a rectangle, which shape every
// visible row's text again.
class PlainRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (option.state & QStyle::State_Active) ? QPalette::Active
                                                    : QPalette::Inactive;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        // The row's line centred in its height, as a rectangle's text would be.
        const QFontMetricsF metrics(option.font);
        const qreal top =
            option.rect.y() + (option.rect.height() - (metrics.ascent() + metrics.descent())) / 2;
        painter->save();
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->setClipRect(option.rect);
        painter->drawText(QPointF(option.rect.x() + 3, top + metrics.ascent()),
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

ResultList::ResultList(const char* name, bool copies, bool enlarges, QWidget* parent)
    : QListView(parent), copies_(copies), enlarges_(enlarges) {
    setObjectName(name);
    setModel(&rows_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // All rows are one line of the same font: the view sizes them by the
    // first and asks only for the rows it paints.
    setUniformItemSizes(true);
    setFont(render::JapaneseFont(9));
    setItemDelegate(new PlainRowDelegate(this));
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
