#pragma once

#include <QPointF>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

#include "core/digitizer/calibration_checks.h"
#include "core/digitizer/canvas_mode.h"
#include "core/digitizer/capture_history.h"
#include "core/digitizer/capture_marks.h"
#include "core/digitizer/point_placement.h"
#include "core/digitizer/traced_marks.h"
#include "core/files/session.h"
#include "ui/digitizer/curve_tracer.h"
#include "ui/digitizer/panel_question.h"
#include "ui/digitizer/picture_overlay.h"
#include "ui/window/workspace.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTextEdit;

namespace kx::core {
struct TraceResult;
}

namespace kx::ui {

class Canvas;
class ClipboardMemory;
class MainWindow;

// The digitizer panel "Tolvex_R1.0" (`Form20`), the first window of the
// program. It loads or pastes the graph picture, takes the axis values and
// types, confirms the calibration, shows live and sampled coordinates and
// starts point capture. It handles the presses on the canvas of the main
// window. The windows it opens are asked for by signals; the owner of the
// windows (Desktop) opens them.
class DigitizerPanel : public QWidget {
    Q_OBJECT
public:
    DigitizerPanel(Workspace& workspace, MainWindow& mainWindow, const ClipboardMemory& clipboard);
    ~DigitizerPanel() override;

    // The start of the program: the start settings, line 1 selected, the main
    // window and then the panel shown.
    void Start();

    // The menu entry of the keyboard-entry window stays disabled until its
    // window is there.
    void SetKeyboardEntryAvailable(bool available);

    // Picture mode of the load window: the file goes onto the canvas, the ten
    // lines are reset. Returns why it could not (a file that is none, a
    // picture too large to show, the reader's description of a failure; the
    // canvas then keeps its picture), or nothing. A picture cut short is
    // taken, and the panel's message says so.
    QString LoadPictureFile(const QString& path);
    // A session's picture, calibration, lines and settings in place of the
    // work on the canvas; `caption` names the session. The reader's reason
    // when its picture cannot be shown (nothing is changed then), or nothing.
    QString OpenSession(const core::Session& session, const QString& caption);
    const core::CaptureMarks& captureMarks() const { return captureMarks_; }
    // The load window has gone (loadMode back to 0).
    void EndLoad() { state_.loadMode = 0; }

    // Used by the DataSet window through the owner.
    void SelectLineOption(int index);
    void SetCaptureStartEnabled(bool enabled);
    void StopLiveTimer();
    void StartLiveTimer();
    bool liveTimerRunning() const { return liveTimer_.isActive(); }
    void ReturnFromCapture(QPoint position);

    QString messageText() const;
    bool messageShown() const;
    // A message of another part of the program in the panel's message box.
    void ShowMessageText(const QString& text) { ShowMessage(text); }

    // What the canvas does with a press, a move and a key now.
    core::CanvasMode CanvasMode() const;

    // The switch "近似曲線を画像に重ねる", also set from another window.
    void SetCurvesOverPicture(bool shown);

    // The traced lines whose points are still in their lines, for a session
    // (panel_trace.cpp); and a session's traced lines put back after its
    // lines were.
    void PutTracedInSession(core::Session& session) const;
    void TakeTracedFromSession(const core::Session& session);
    // A trace is running on the worker.
    bool traceRunning() const { return tracer_.running(); }
    // A question over the panel's controls; they and the canvas wait until
    // it is answered.
    void Ask(const QString& text, const QStringList& choices, PanelQuestion::Answered answered);
    const PanelQuestion& question() const { return *question_; }

public slots:
    // The marks of the points and the fitted curves over the picture follow
    // the data set, the calibration and the results: every change of those
    // notifies this one slot, which redraws what has changed.
    void FollowPictureData();
    void PastePicture();        // "画像Paste"
    void ConfirmCalibration();  // "基本座標の確定"
    void StartCapture();        // "データ採取開始"
    void UpdateLiveDisplay();   // Timer1, 30 ms
    void HideMessages();        // Timer2, 5 s: hides the message and the hint
    // Ctrl+Z: the last captured, removed or moved point back; Ctrl+Y. A step
    // on another line than the selected one selects its line first, so that
    // the DataSet window shows the line that changes.
    void UndoCapture();
    void RedoCapture();
    // The lines were loaded, reset or opened afresh: their steps are gone.
    void ForgetCaptureSteps();

signals:
    void keyboardEntryRequested();
    void saveRequested();
    void sessionSaveRequested();  // "作業の保存"
    // The load window is to open in `loadMode` (2 numeric data, 3 picture,
    // 4 session).
    void loadRequested(int loadMode);
    // "データ採取開始" was pressed (the DataSet window takes its caption
    // again); with a usable calibration capture starts on line option `index`.
    void captureStartPressed();
    void captureRequested(int index);
    // While capture runs: a line option was clicked, the live values changed,
    // a point was captured into `line`, a press was refused with a message.
    void lineOptionClicked(int index, bool selected);
    void liveValuesShown(const QString& x, const QString& y);
    void pointCaptured(int line);
    void captureRefused(const QString& message);
    // The selected line option changed.
    void lineOptionChanged(int index);
    // A new picture reset the ten lines.
    void linesReset();
    // The panel's frame was closed: the owner ends the program, asking first
    // when the work is unsaved.
    void endByFrameRequested();
    // The switch of the curves over the picture changed.
    void curvesOverPictureChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    // The panel is the program's first window: closing it by its frame ends
    // the program, instead of leaving the canvas without it; with the work
    // unsaved the owner asks first.
    void closeEvent(QCloseEvent* event) override;
    // Right after a calibration click the arrow keys move the point, also
    // while its value box has the keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row of the tracing settings below the picture frame, in twips.
    static constexpr int kTraceRowTop = 8190;
    static constexpr int kTraceRowHeight = 660;

    // What the arrow keys move (panel_marks.cpp).
    enum NudgeKind { kNoNudge, kNudgeCalibration, kNudgeMid, kNudgeCapture };

    // Layout, menus, messages, picture, capture (digitizer_panel.cpp).
    void BuildControls();
    void BuildMenus();
    void ConnectControls();
    void ShowMessage(const QString& text);
    void HideMessage();
    void ShowHint(const QString& text, int left, int top, int width, int height);
    void ToggleHelp();
    void PointerOverPanel();
    void OpenPictureFile();
    void OpenNumericData();
    void OpenSessionFile();  // "作業の呼込み"
    void KeepPictureBytes(const QString& path);

    // Sessions (digitizer_panel_session.cpp).
    void ShowCalibrationInControls();
    void TakePicture(const QImage& picture, const QString& caption);
    void OnLineOption(int index);
    void SaveCollectedData();  // "保 存"
    void ResetCalibration();
    void EndProgram();

    // Calibration controls (digitizer_panel_calibration.cpp).
    core::AxisValueTexts ValueTexts() const;
    void OnPointBox(int box, bool checked);
    void PointBoxLeft(int box, Qt::FocusReason reason);
    void TurnPointBoxOff(int box, bool withPartner = true);
    void SetPointBoxQuietly(int box, bool on);
    bool PointPlaced(int box) const;
    int CountPointBoxes() const;
    void CheckValueText(int box);
    void StoreAxisValue(int box);
    float& AxisValue(int box);
    void StoreMidValue(int axis);
    void SelectAxisType(int axis, bool logarithmic);
    void OnMidPointBox(int axis);
    void DisarmMidPoints();
    void FailCalibration();
    // The silent re-check; a message the same user action has just posted
    // stays readable.
    void RevalidateCalibration(bool messagePosted);
    void ShowSamplingBoxes(bool shown);
    void EnableMidControls(bool enabled);
    void HoverBasicFrame();
    void HoverSettingsFrame();
    void HoverConfirmButton();
    void SwitchDisplayForm();

    // Canvas reactions (digitizer_panel_canvas.cpp).
    void OnCanvasPressed(QPointF position);
    void NotePress(QPointF position);
    void NoteMidPointPress(QPointF position);
    void PlaceMidPoint(QPointF position);
    void OnCanvasMoved(QPointF position);
    void OnCanvasClicked();
    void OnCanvasDoubleClicked();
    bool PlacePoint(core::PickMode mode, double x, double y);  // false: refused
    bool Capture(double x, double y);  // true when a refusal message was posted
    static QString LineFullText();     // a line's 100 points are taken
    std::optional<core::SampledPoint> ConvertIntoSamplingBoxes(double x, double y);
    void ShowSampledTexts(const core::SampledPoint& sampled);
    void FollowMidCorrections();
    void ShowLiveValues();
    void RedrawCalibrationMarks();
    void RedrawMidMarks();
    void DrawCalibrationMarks(bool withMidPoints);
    void DrawMidMarks();
    void SetPointers(const QCursor& cursor);

    // Marks, loupe, undo and the arrow keys (digitizer_panel_marks.cpp).
    void BuildMarkEntries(QMenu* menu);
    void RecordCapture(int line, const core::LineState& before, const std::string& record,
                       QPointF position);
    core::LineState LineStateOf(int line);
    void RestoreLine(int line, const core::LineState& state);
    void RemoveCapturedPoint(int line, int point);
    void SelectStepLine(int line);
    void ShowChangedLine(int line);
    void Nudge(int dx, int dy);
    bool NudgeCapturedPoint(QPointF to);
    bool NudgeCalibrationPoint(QPointF to);
    void NudgeMidPoint(QPointF to);
    void SetNudgeTarget(NudgeKind kind, int which = 0, int point = 0, QPointF at = {});
    void FollowWithLoupe(QPointF position);
    bool PlacingOrCapturing() const;

    // Tracing (digitizer_panel_trace.cpp).
    void BuildTraceEntry(QMenu* menu);
    void BuildTraceControls();
    void ToggleTracing(bool on);
    void StartTrace(QPointF position);
    void TakeTrace(const TraceRequest& request, const core::TraceResult& result);
    bool AppendTrace(const TraceRequest& request, const core::TraceResult& result);
    std::vector<int> ReplacedByTrace(const core::TracedLine& traced, const core::LineState& before,
                                     double lineWidth) const;
    int SelectedLine() const;
    const core::TracedLine* LiveTrace(int line) const;
    int FindLiveTrace(int line) const;
    void WaitForAnswer(bool waiting);
    void ShowTracedLines();
    void ForgetTraces();

    Workspace& workspace_;
    MainWindow& mainWindow_;
    Canvas& canvas_;
    const ClipboardMemory& clipboard_;

    QMenuBar* menuBar_ = nullptr;
    QWidget* body_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QTextEdit* messageBox_ = nullptr;
    PanelQuestion* question_ = nullptr;
    QLabel* hintBox_ = nullptr;
    QGroupBox* basicFrame_ = nullptr;
    QGroupBox* settingsFrame_ = nullptr;
    std::array<QCheckBox*, 5> pointBox_{};  // 1..4: Xmin, Xmax, Ymin, Ymax
    std::array<QLineEdit*, 5> valueBox_{};  // 1..4
    QPushButton* confirmButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* captureButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* pasteButton_ = nullptr;
    QPushButton* dockButton_ = nullptr;
    QPushButton* endButton_ = nullptr;
    QPushButton* pictureFileButton_ = nullptr;
    std::array<QRadioButton*, 2> linearOption_{};  // X, Y
    std::array<QRadioButton*, 2> logOption_{};     // X, Y
    QCheckBox* exponentBox_ = nullptr;
    QLineEdit* xLiveBox_ = nullptr;
    QLineEdit* yLiveBox_ = nullptr;
    QLineEdit* xSampleBox_ = nullptr;
    QLineEdit* ySampleBox_ = nullptr;
    std::array<QCheckBox*, 2> midPointBox_{};  // X, Y
    std::array<QLineEdit*, 2> midValueBox_{};  // X, Y
    std::array<QRadioButton*, core::kMaxLines> lineOption_{};
    QAction* keyboardAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* loupeAction_ = nullptr;
    QAction* overlayAction_ = nullptr;
    QAction* traceAction_ = nullptr;
    QSpinBox* tracePointsBox_ = nullptr;
    QSpinBox* traceToleranceBox_ = nullptr;

    QTimer liveTimer_;
    QTimer messageTimer_;

    // The panel's own state, beside the calibration of the workspace.
    struct PanelState {
        core::CanvasPicks picks;  // what the next presses place
        core::SetupState setup;   // the point boxes on, the frame found ready
        bool xAxisDrawn = false;  // the axis lines stand on the canvas
        bool yAxisDrawn = false;
        bool samplingShown = false;      // the sampling boxes Text8/Text9 are shown
        bool conversionPending = false;  // a position waits to be converted into them
        QPointF convertPosition;         // that position, canvas units
        bool helpShown = false;
        bool autoConfirmDone = false;  // the hover confirmation ran since the last box change
        bool readyAnnounced = false;   // the hint of a complete setup was shown
        bool pointBoxUsed = false;
        // The press of the current click placed a point: its value box keeps
        // the keyboard and the panel stays the active window.
        bool pressPlacedPoint = false;
        int16_t loadMode = 0;  // 3 picture, 2 numeric data from the panel, 0 none
    };
    PanelState state_;
    // The last pointer position in canvas units. Held wider than 16 bits: a
    // scan of a few thousand pixels already reaches past 32767 canvas units.
    int mouseX_ = 0;
    int mouseY_ = 0;
    bool liveToggle_ = false;
    bool firstShown_ = false;

    // The captured points' marks and the steps that can be taken back.
    core::CaptureMarks captureMarks_;
    core::CaptureHistory history_;
    PictureOverlay overlay_;
    // The curves traced on this picture, the latest last; a line shows the
    // latest of its own whose points it still holds.
    std::vector<core::TracedLine> traces_;
    // What the traced lines over the picture were last drawn from.
    std::array<core::LineMarks, core::kMaxLines + 1> tracedDrawnFor_{};
    std::size_t tracesDrawn_ = 0;
    // The trace each line shows (its place in traces_, -1 none), found again
    // only when the line's marks or the traces changed: the search measures
    // every mark against every centre line, and the work is compared after
    // every pointer move.
    struct LiveTraceFound {
        bool valid = false;
        std::size_t traces = 0;
        core::LineMarks marks;
        int index = -1;
    };
    mutable std::array<LiveTraceFound, core::kMaxLines + 1> liveTraces_{};
    CurveTracer tracer_{[this](const TraceRequest& request, const core::TraceResult& result) {
        TakeTrace(request, result);
    }};
    // The point the arrow keys move: the last one a click placed or captured.
    struct NudgeTarget {
        NudgeKind kind = kNoNudge;
        int which = 0;  // the pick mode, the axis (0 X, 1 Y) or the line
        int point = 0;  // a captured point's place in its line
        QPointF at;     // where it stands now, canvas units
    };
    NudgeTarget nudge_;
};

}  // namespace kx::ui
