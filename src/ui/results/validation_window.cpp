#include "ui/results/validation_window.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

#include "core/codegen/calc_evaluation.h"
#include "core/digitizer/axis_inverse.h"
#include "core/files/listing.h"
#include "ui/results/results_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

namespace n = names::validation;

constexpr int kStartWidth = 10800, kStartHeight = 8400;
constexpr int kLeastWidth = 7200, kLeastHeight = 5400;
constexpr int kMargin = 120, kTop = 540, kGap = 120;
constexpr int kButtonWidth = 1200, kButtonHeight = 420, kButtonGap = 90;
constexpr int kColumnPadding = 10;  // pixels

const QColor kFaultColour(255, 0, 0);
const QColor kGoodColour(0, 128, 0);

const char* const kLineColumns[] = {"Line",     "ﾊﾟﾗﾒｰﾀ",         "ﾃﾞｰﾀ数", "平均誤差", "最大誤差",
                                    "最大の点", "点間の最大誤差", "点間",   "EFLG"};
const char* const kPointColumns[] = {"Line", "ﾊﾟﾗﾒｰﾀ", "No", "X", "Y", "Calc", "誤差", "EFLG"};

QTableWidget* Table(QWidget* parent, const char* name, const char* const* columns, int count) {
    auto* table = new QTableWidget(0, count, parent);
    table->setObjectName(name);
    QStringList captions;
    for (int i = 0; i < count; ++i) captions << QString::fromUtf8(columns[i]);
    table->setHorizontalHeaderLabels(captions);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    // The flags, a list, fill the rest of the width from the left.
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeaderItem(count - 1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    return table;
}

// A row between two points stands out from the points' rows.
const QColor kBetweenBackground(240, 240, 248);

// One row of the table from the tab-separated fields of a listing line;
// numbers stand to the right, the flags to the left.
void AddRow(QTableWidget& table, const std::string& line, bool fault, bool between = false) {
    const QStringList fields = QString::fromStdString(line).split('\t');
    const int row = table.rowCount();
    table.insertRow(row);
    for (int column = 0; column < table.columnCount() && column < fields.size(); ++column) {
        auto* item = new QTableWidgetItem(fields[column]);
        const bool flags = column == table.columnCount() - 1;
        item->setTextAlignment((flags ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        if (fault) item->setForeground(kFaultColour);
        if (between) item->setBackground(kBetweenBackground);
        table.setItem(row, column, item);
    }
}

template <typename Checked>
bool Beyond(const Checked& point) {
    return point.flag == core::kCalcFailed || point.deviation > core::kStandardCheckLimit;
}

// A midpoint as a row of the point table: its X, the interpolated Y, Calc,
// the deviation and the flag under the points' columns.
std::string MidpointRow(const core::CheckedLine& line, const core::CheckedMidpoint& mid) {
    const std::vector<std::string> f = core::MidpointFields(line, mid);
    return f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + f[3] + "\t" + f[4] + "\t" + f[6] + "\t" +
           f[7] + "\t" + f[8];
}

// The scale of the check: the axis types of the calibration the points came
// from, where there is one.
core::CheckScale ScaleOf(const Workspace& workspace) {
    core::CheckScale scale;
    if (core::CalibrationUsable(workspace.calibration)) {
        scale.logX = workspace.calibration.logX;
        scale.logY = workspace.calibration.logY;
    }
    return scale;
}

}  // namespace

ValidationWindow::ValidationWindow(Workspace& workspace, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("計算ﾌﾟﾛｸﾞﾗﾑの検証")),
      workspace_(workspace) {
    Title(this, n::kTitle, "Calcの値と採取ﾃﾞｰﾀの比較", TwipsRect(kMargin, 120, 3600, 330));
    verdict_ = NamedLabel(this, n::kVerdict, QString(), TwipsRect(3900, 120, 6000, 330));
    SetBold(verdict_);
    lineTable_ = Table(this, n::kLineTable, kLineColumns, 9);
    pointTable_ = Table(this, n::kPointTable, kPointColumns, 8);

    buttons_ = {Button(this, n::kCopyButton, "ｺﾋﾟｰ", QRect()),
                Button(this, n::kSaveButton, "File保存", QRect()),
                Button(this, n::kBackButton, "戻 る", QRect())};
    message_ = NamedLabel(this, n::kMessage, "クリップボードにコピーしました。", QRect());
    message_->setAlignment(Qt::AlignCenter);
    message_->setFrameShape(QFrame::Box);
    SetTextColour(message_, QColor(0, 96, 0));
    SetBackground(message_, QColor(192, 255, 192));
    message_->hide();
    SetUpMessageTimer(n::kMessageTimer, 5000, false);
    AddMessageBox(message_);

    connect(buttons_[0], &QPushButton::clicked, this, &ValidationWindow::CopyTable);
    connect(buttons_[1], &QPushButton::clicked, this, &ValidationWindow::saveRequested);
    connect(buttons_[2], &QPushButton::clicked, this, &ValidationWindow::ReturnToOpener);
    connect(lineTable_, &QTableWidget::currentCellChanged, this,
            [this](int row) { ShowPointsOfLine(row); });

    setMinimumSize(TwipsToPixels(kLeastWidth), TwipsToPixels(kLeastHeight));
    resize(TwipsToPixels(kStartWidth), TwipsToPixels(kStartHeight));
}

void ValidationWindow::Opening() {
    table_ = core::ValidationTableOf(workspace_.data, workspace_.results, ScaleOf(workspace_));
    listing_ = core::ValidationListing(table_);
    message_->hide();
    Fill();
    Arrange();
}

void ValidationWindow::Fill() {
    lineTable_->setRowCount(0);
    pointTable_->setRowCount(0);
    firstRowOfLine_.clear();
    // The listing: a header and a row per line, an empty line, a header and
    // a row per point, in the order of the table's lines and points.
    std::size_t next = 1;
    for (const core::CheckedLine& line : table_.lines) {
        AddRow(*lineTable_, listing_[next++], !core::WithinLimit(line, core::kStandardCheckLimit));
    }
    next += 2;
    // The points of a line with the middle between each two after the first.
    for (const core::CheckedLine& line : table_.lines) {
        firstRowOfLine_.push_back(pointTable_->rowCount());
        std::size_t mid = 0;
        for (const core::CheckedPoint& point : line.points) {
            AddRow(*pointTable_, listing_[next++], Beyond(point));
            if (mid < line.between.size() && line.between[mid].after == point.point) {
                const core::CheckedMidpoint& between = line.between[mid++];
                AddRow(*pointTable_, MidpointRow(line, between), Beyond(between), true);
            }
        }
    }
    for (QTableWidget* table : {lineTable_, pointTable_}) {
        // The contents' width leaves the headers' half-width kana no room.
        table->resizeColumnsToContents();
        for (int column = 0; column < table->columnCount(); ++column)
            table->setColumnWidth(column, table->columnWidth(column) + kColumnPadding);
    }

    const bool checked = !table_.lines.empty();
    buttons_[0]->setEnabled(checked);
    buttons_[1]->setEnabled(checked);
    const auto beyond =
        std::find_if(table_.lines.begin(), table_.lines.end(), [](const core::CheckedLine& line) {
            return !core::WithinLimit(line, core::kStandardCheckLimit);
        });
    if (!checked) {
        verdict_->setText(QStringLiteral("検証できるﾌﾟﾛｸﾞﾗﾑなし"));
        SetTextColour(verdict_, kFaultColour);
    } else if (beyond == table_.lines.end()) {
        verdict_->setText(QStringLiteral("全ての点と点の間で誤差1%以内"));
        SetTextColour(verdict_, kGoodColour);
    } else {
        verdict_->setText(VerdictOf(*beyond));
        SetTextColour(verdict_, kFaultColour);
    }
}

// What the first line beyond the limit falls short in, at its points first.
QString ValidationWindow::VerdictOf(const core::CheckedLine& line) {
    const int number = line.line;
    if (line.flagsMet[core::kCalcFailed])
        return QStringLiteral("計算できない点あり (Line %1)").arg(number);
    if (line.largestDeviation > core::kStandardCheckLimit)
        return QStringLiteral("誤差1%を超える点あり (Line %1)").arg(number);
    if (line.betweenFlagsMet[core::kCalcFailed])
        return QStringLiteral("点では誤差1%以内、点の間に計算できない所あり (Line %1)")
            .arg(number);
    return QStringLiteral("点では誤差1%以内、点の間で誤差1%超 (Line %1: %2%)")
        .arg(number)
        .arg(100 * line.largestBetween, 0, 'f', 1);
}

void ValidationWindow::ShowPointsOfLine(int row) {
    if (row < 0 || row >= static_cast<int>(firstRowOfLine_.size())) return;
    const int first = firstRowOfLine_[static_cast<std::size_t>(row)];
    if (first >= pointTable_->rowCount()) return;
    pointTable_->scrollToItem(pointTable_->item(first, 0), QAbstractItemView::PositionAtTop);
}

void ValidationWindow::CopyTable() {
    if (listing_.empty()) return;
    QApplication::beep();
    QGuiApplication::clipboard()->setText(QString::fromStdString(core::RecordsText(listing_)));
    ShowMessageBox(message_);
}

void ValidationWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    Arrange();
}

// The height of the line table's horizontal scroll bar when its columns are
// wider than the table, so that the bar hides no row.
int ValidationWindow::LineTableScrollBar(int innerTwips) const {
    const QHeaderView* rows = lineTable_->verticalHeader();
    const int viewport = static_cast<int>(TwipsToPixels(innerTwips)) -
                         2 * lineTable_->frameWidth() - (rows->isHidden() ? 0 : rows->width());
    const bool wider = lineTable_->horizontalHeader()->length() > viewport;
    return wider ? lineTable_->horizontalScrollBar()->sizeHint().height() : 0;
}

void ValidationWindow::Arrange() {
    const int w = static_cast<int>(PixelsToTwips(width()));
    const int h = static_cast<int>(PixelsToTwips(height()));
    const int inner = w - 2 * kMargin;
    // The line table shows all its rows (ten at most), the point table the
    // rest down to the buttons.
    const int rows = std::max(1, lineTable_->rowCount());
    const int linePixels = lineTable_->horizontalHeader()->sizeHint().height() +
                           rows * lineTable_->verticalHeader()->defaultSectionSize() +
                           2 * lineTable_->frameWidth() + 2 + LineTableScrollBar(inner);
    const int buttonsTop = h - kButtonHeight - kGap;
    const int lineHeight =
        std::min(static_cast<int>(PixelsToTwips(linePixels)), (buttonsTop - kTop) / 2);
    lineTable_->setGeometry(TwipsRect(kMargin, kTop, inner, lineHeight));
    const int pointTop = kTop + lineHeight + kGap;
    pointTable_->setGeometry(
        TwipsRect(kMargin, pointTop, inner, std::max(600, buttonsTop - kGap - pointTop)));

    int x = kMargin;
    for (std::size_t i = 0; i + 1 < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(TwipsRect(x, buttonsTop, kButtonWidth, kButtonHeight));
        x += kButtonWidth + kButtonGap;
    }
    buttons_.back()->setGeometry(
        TwipsRect(w - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight));
    message_->setGeometry(TwipsRect(x + kButtonGap, buttonsTop + 45, 3300, 330));
}

}  // namespace kx::ui
