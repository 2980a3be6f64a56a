// The rows of the result lists: a followed fitting log shows what was written
// up to the last time it was shown, and hands on no more than that.
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

#include "ui/results/result_list.h"
#include "ui/results/result_list_model.h"
#include "ui/window/controls.h"

namespace kx::test {
namespace {

QStringList Rows(const ui::ResultListModel& rows) {
    QStringList out;
    for (int i = 0; i < rows.rowCount(); ++i) out << rows.index(i).data().toString();
    return out;
}

TEST(ResultListModel, AFollowedLogShowsAndHandsOnTheLinesShownSoFar) {
    core::FittingLog log;
    ui::ResultListModel rows;
    rows.Follow(log);
    log.AddText("one");
    log.AddText("two");
    EXPECT_EQ(rows.rowCount(), 0);  // nothing shown until the list is told
    rows.ShowLogSoFar();
    log.AddText("three");
    EXPECT_EQ(Rows(rows), QStringList({"one", "two"}));
    EXPECT_EQ(rows.ShownLog().Texts(), std::vector<std::string>({"one", "two"}));
    // Only shown rows of the one column have an index.
    EXPECT_FALSE(rows.index(2).isValid());
    EXPECT_FALSE(rows.index(-1).isValid());
    EXPECT_FALSE(rows.index(0, 1).isValid());
    EXPECT_FALSE(rows.index(0, 0, rows.index(1)).isValid());

    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    rows.ShowLogSoFar();
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 2);
    EXPECT_EQ(inserted[0][2].toInt(), 2);
    EXPECT_EQ(rows.ShownLog().Texts(), log.Texts());

    // Rows shown past the end of a log replaced under the list read as
    // nothing, not beyond the log.
    log = core::FittingLog();
    log.AddText("new");
    EXPECT_EQ(Rows(rows), QStringList({"new", "", ""}));
    rows.Clear();
    rows.ShowLogSoFar();
    EXPECT_EQ(Rows(rows), QStringList({"new"}));
}

// Pixels of `image` inside `rect` within `tolerance` of `colour` in every
// channel.
int PixelsNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                     std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return count;
}

// The rows are drawn in the list's own text colour (the log's colour during
// a run), and a selected row stands out on the highlight.
TEST(ResultList, DrawsItsTextColourAndTheSelection) {
    ui::ResultList list("list", true, true, nullptr);
    list.resize(320, 120);
    const QColor ink(0, 48, 128);
    ui::SetTextColour(&list, ink);
    list.rows().Append({"C1= 38904.62  C2=-2347.597", "[Para: 5]  from  30 to  33"});
    list.selectionModel()->select(list.model()->index(1, 0), QItemSelectionModel::Select);
    list.show();
    QCoreApplication::processEvents();
    const QImage image = list.viewport()->grab().toImage();

    const QRect plain = list.visualRect(list.model()->index(0, 0));
    const QRect selected = list.visualRect(list.model()->index(1, 0));
    EXPECT_GT(PixelsNear(image, plain, ink, 40), 10);
    EXPECT_EQ(PixelsNear(image, selected, ink, 40), 0);
    const QPalette& palette = list.palette();
    const int highlighted = std::max(
        PixelsNear(image, selected, palette.color(QPalette::Active, QPalette::Highlight), 2),
        PixelsNear(image, selected, palette.color(QPalette::Inactive, QPalette::Highlight), 2));
    EXPECT_GT(highlighted, selected.width() * selected.height() / 2);
}

}  // namespace
}  // namespace kx::test
