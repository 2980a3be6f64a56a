// The rows of the result lists: a followed fitting log shows what was written
// up to the last time it was shown, and hands on no more than that.
#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

#include "ui/result_list_model.h"

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

}  // namespace
}  // namespace kx::test
