#pragma once

#include <QColor>
#include <QTimer>

#include <array>

#include "core/files/listing.h"
#include "ui/results/run_observer.h"
#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QAction;
class QLabel;
class QMenuBar;
class QPushButton;

namespace kx::ui {

class GaugeWindow;
class ResultList;

// The program-generation window "プログラム生成": runs the fit of the prepared
// data set and shows the fitting log, the result details, the equation
// statements and the generated program. Opened by the DataSet and the
// keyboard-entry windows; its way back returns to whichever opened it.
class ProgramWindow : public ChildWindow {
    Q_OBJECT
public:
    ProgramWindow(Workspace& workspace, GaugeWindow& gauge, QWidget* mainWindow);

    bool running() const { return running_; }
    RunObserver& observer() { return observer_; }
    // The menu entry of the plot window stays disabled until that window is
    // there.
    void SetPlotAvailable(bool available);
    // The Option menu's switch of the curves over the picture, set from the
    // panel's (no signal).
    void ShowCurvesOverPicture(bool shown);
    // The four lists as they are shown, for the listings the save window
    // writes: after a stopped run, or with settings changed since the run, a
    // listing holds what the user sees.
    core::ResultLists ShownLists() const;

public slots:
    void StartCalculation();  // the calculation button
    void StopCalculation();   // the gauge's stop button
    void HideAreaHints();     // Timer1
    void FadeInAreaHints();   // Timer2

signals:
    // The digitizer panel's timers are to stop (a run starts, the hints go).
    void panelTimersStopRequested();
    // A menu entry asked for the save window (the save kind is set), the plot
    // window, the check of the program against the points or a settings
    // window.
    void saveRequested(int saveKind);
    void plotRequested();
    void validationRequested();
    // The run's results became current or stopped being so (the fitted
    // curves over the picture follow).
    void resultsCurrentChanged(bool current);
    void conditionsRequested();
    void exclusionRequested();
    // The Option menu's "近似曲線を画像に重ねる" was switched.
    void curvesOverPictureSwitched(bool shown);

protected:
    void Opening() override;
    bool CanReturn() override { return !running_; }
    void Returning() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void ConnectControls();
    void Arrange();
    void ApplyLeftColumn();
    void ToggleEnlarged(int list);
    void ListPressed(int list);
    void CopySelection(int list);
    void ShowClearingHint();
    void HideClearingHintOver(QPoint position);
    void DismissClearingHint();
    void ShowAreaHints();
    void ShowLogSoFar();
    void FillResults();
    void RequestSave(int saveKind);
    QString IdleCaption() const;
    // Whether the lists show the results of a finished run on the data as
    // it stands: the plot's curves, the programs in C and Python and the
    // check are offered only then.
    void SetResultsCurrent(bool current);
    // The status line, widened to the left when its text needs more room.
    void ShowStatus(const QString& text);
    void PlaceStatusLabel();
    QString UnratedWarning() const;
    int OuterWidth() const;  // twips, as the layout rules measure the window
    int OuterHeight() const;

    Workspace& workspace_;
    GaugeWindow& gauge_;
    RunObserver observer_;

    QMenuBar* menuBar_ = nullptr;
    QWidget* clientArea_ = nullptr;
    std::array<ResultList*, 5> list_{};  // List1..List4 at 1..4
    std::array<QLabel*, 4> areaHint_{};  // Text2(0..3)
    std::array<QColor, 2> hintColour_{};
    QLabel* copiedMessage_ = nullptr;  // Text1
    QLabel* clearingHint_ = nullptr;   // Text3
    QLabel* statusLabel_ = nullptr;    // Label1
    QLabel* historyLabel_ = nullptr;   // Label2
    QPushButton* calculateButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QAction* saveProgram_ = nullptr;
    QAction* saveSummary_ = nullptr;
    QAction* saveAll_ = nullptr;
    QAction* plot_ = nullptr;
    std::vector<QAction*> saveSources_;  // the program in C, Python and the further languages
    QAction* validation_ = nullptr;
    QAction* curvesOverPicture_ = nullptr;
    QTimer hideHintsTimer_;
    QTimer fadeHintsTimer_;

    std::array<bool, 5> enlarged_{};  // List1, List3, List4
    int lastPressed_ = 0;
    bool hintDismissed_ = false;
    bool hintsShown_ = false;
    bool running_ = false;
    QString unratedWarning_;  // the last run's program is not to be used
};

}  // namespace kx::ui
