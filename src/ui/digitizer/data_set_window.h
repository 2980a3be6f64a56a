#pragma once

#include <QString>
#include <QTimer>

#include <array>
#include <string>

#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kx::ui {

// The DataSet window (`Form21`, caption "DataSet"): the collected points while
// they are captured from the picture, one point box per line, the selected
// line's parameter, number and point count; edits, resets, and the preparation
// of the data set for program generation or saving. The digitizer panel opens
// it when capture starts; the canvas stays usable while it is open, and going
// back ends capture.
class DataSetWindow : public ChildWindow {
    Q_OBJECT
public:
    DataSetWindow(Workspace& workspace, QWidget* mainWindow);

    // Capture starts from `panel` with line option `index` selected: the point
    // boxes are filled from the data set and stacked, the window stands where
    // the panel stands.
    void StartCapture(QWidget* panel, int index);
    void EmptyPointBoxes();
    // Box of `line` shows `text` (CR LF lines) without counting it as an edit.
    void ShowPointText(int line, const std::string& text);
    // A point was appended to `line` by a press on the canvas.
    void ShowCapturedPoint(int line);
    void ShowCaptureRefusal(const QString& text);
    void SetLiveValues(const QString& x, const QString& y);
    // Every point box shows its line's point text again.
    void RefreshPointBoxesFromData();
    // The data file text of an all-lines (0) or selected-line (1) save: the
    // lines as the point boxes hold them; for the selected line the parameter
    // as its box shows it.
    std::string SavedDataText(int saveKind) const;
    // A data file named `title` was loaded: the boxes show its lines, line 1
    // is selected and the caption names the file.
    void ShowLoadedData(const QString& title);
    // Follows the panel's option `index`; clears the own option when the
    // panel's is not selected.
    void FollowPanelLine(int index, bool selected);
    // The panel's selected line option, for the tracking timer.
    void TrackPanelLine(int index) { panelLine_ = index; }

    QString messageText() const;
    bool messageShown() const;

public slots:
    void FollowPanelLineOptions();  // Timer1: captureLine follows the panel's options

signals:
    // The preparation succeeded: the program-generation window is to open.
    void programGenerationRequested();
    // A save button's preparation succeeded: the save window is to open for
    // data.saveKind.
    void saveRequested();
    // "数値ﾃﾞｰﾀの呼込み": the load window is to open for numeric data.
    void loadRequested();
    // The panel's line option `index` is to be selected.
    void panelLineSelected(int index);
    // The panel's "データ採取開始" is to be enabled.
    void captureStartAllowed();
    // The panel's live timer is to stop (a preparation runs).
    void panelTimersStopRequested();
    // The point texts of the data set were edited, reset or loaded.
    void pointsChanged();
    // "選択Lineﾘｾｯﾄ" or "全Lineﾘｾｯﾄ" emptied lines.
    void linesReset();

protected:
    bool KeepsCanvasUsable() const override { return true; }
    void Returning() override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void ConnectControls();
    void SelectLine(int index);
    void ShowOnlyPointBox(int index);
    void ShowPointCount(int count);
    void ShowLineNumber(int line);
    void ShowParameter(const std::string& text);
    void OnPointBoxEdited(int index);
    void TogglePointBoxHeight(int index);
    void CommitParameter();
    void ResetSelectedLine();
    void ResetAllLines();
    bool RunPreparation();
    void GenerateProgram();
    void Save(int16_t saveKind, int16_t selectedLine);
    void ShowPreparationMessage(int state, const core::PreparationRefusal& refusal);
    void ShowMessage(const QString& text, const QColor& color, QRect geometry, bool wrap);
    void ShowBackHint();
    void ColourLineLabels(int selected);
    int SelectedOption() const;  // 0..9, -1 for none

    Workspace& workspace_;
    std::array<QRadioButton*, core::kMaxLines> lineOption_{};
    std::array<QPlainTextEdit*, core::kMaxLines> pointBox_{};
    QLineEdit* parameterBox_ = nullptr;
    QLineEdit* lineBox_ = nullptr;
    QLineEdit* pointCountBox_ = nullptr;
    QLineEdit* xLiveBox_ = nullptr;
    QLineEdit* yLiveBox_ = nullptr;
    QLabel* messageLine_ = nullptr;
    QPushButton* generateButton_ = nullptr;
    QPushButton* saveAllButton_ = nullptr;
    QPushButton* saveSelectedButton_ = nullptr;
    QPushButton* resetLineButton_ = nullptr;
    QPushButton* resetAllButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QTimer trackTimer_;
    int panelLine_ = 0;
};

}  // namespace kx::ui
