#pragma once

#include <string>
#include <vector>

#include "core/codegen/validation_table.h"
#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kx::ui {

// The window "計算ﾌﾟﾛｸﾞﾗﾑの検証": how well the generated Calc reproduces the
// points of the last run, at the points and between them. One table gives per
// line the number of points, the mean and largest relative deviation, the
// point of the largest, the largest deviation between two points and where,
// and the EFLG values met; the other every point with X, Y, what Calc returns
// at that X and the line's parameter, the deviation and the flag, and between
// each two points the same at the middle of their X against the curve the
// points describe there. Rows beyond 1 % or with a flag of 7 stand out in
// red. The table is copied to the clipboard, or saved through the save
// window, in the tab-separated form kuvatelix-fit --check prints. Opened from
// the program-generation window after a run.
class ValidationWindow : public ChildWindow {
    Q_OBJECT
public:
    ValidationWindow(Workspace& workspace, QWidget* mainWindow);

    const core::ValidationTable& table() const { return table_; }
    // The table as text lines, as copied and saved.
    const std::vector<std::string>& listing() const { return listing_; }

public slots:
    void CopyTable();  // "ｺﾋﾟｰ"

signals:
    void saveRequested();  // "File保存"

protected:
    void Opening() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fill();
    void ShowPointsOfLine(int row);
    static QString VerdictOf(const core::CheckedLine& line);
    void Arrange();
    int LineTableScrollBar(int innerTwips) const;

    Workspace& workspace_;
    core::ValidationTable table_;
    std::vector<std::string> listing_;
    QLabel* verdict_;
    QTableWidget* lineTable_;
    QTableWidget* pointTable_;
    QLabel* message_;
    std::vector<QPushButton*> buttons_;  // from the left; "戻 る" last, at the right
    std::vector<int> firstRowOfLine_;    // the point table's first row of each line row
};

}  // namespace kx::ui
