#pragma once

#include <QPointF>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>

#include "core/digitizer/point_placement.h"
#include "ui/workspace.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace kx::ui {

class Canvas;
class DataSetWindow;
class MainWindow;

// The digitizer panel "Tolvex_R1.0" (`Form20`), the first window of the
// program. It loads or pastes the graph picture, takes the axis values and
// types, confirms the calibration, shows live and sampled coordinates and
// starts point capture into the DataSet window. It also handles the presses on
// the canvas of the main window.
class DigitizerPanel : public QWidget {
    Q_OBJECT
public:
    DigitizerPanel(Workspace& workspace, MainWindow& mainWindow, QWidget* parent = nullptr);
    ~DigitizerPanel() override;

    DataSetWindow& dataSetWindow() { return *dataSet_; }

    // The keyboard-entry window is built elsewhere: its menu entry stays
    // disabled until it is made available, and then asks for it by signal.
    void setKeyboardEntryAvailable(bool available);
    // Likewise the save window behind "保 存".
    void setSaveAvailable(bool available);

    // Picture mode of the load window: the file goes onto the canvas. False
    // (with the reader's message shown) when it cannot be read.
    bool LoadPictureFile(const QString& path);
    // "画像Paste": the clipboard's picture onto the canvas.
    void PastePicture();

    void ConfirmCalibration();
    void RevalidateCalibration();

    // Used by the DataSet window.
    QRadioButton* lineOption(int index) const { return option1_[index]; }
    void SetCaptureStartEnabled(bool enabled);
    void StopLiveTimer();
    void ReturnFromCapture(QPoint position);

    QString messageText() const;
    bool messageShown() const;

public slots:
    void onLiveTick();     // Timer1, 30 ms: live coordinates
    void onMessageTick();  // Timer2, 5 s: hides the message and the hint

signals:
    void keyboardEntryRequested();
    void saveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Layout and menus (digitizer_panel.cpp).
    void BuildControls();
    void BuildMenus();
    void StartProgram();
    void FollowMainWindow(QPoint rightEdgeTop);
    void ShowMessage(const QString& text);
    void HideMessage();
    void ShowHint(const QString& text, int left, int top, int width, int height);
    void ToggleHelp();
    void OpenPictureFile();
    void TakePicture(const QImage& picture, const QString& caption);
    void StartCapture();
    void OnLineOption(int index);
    void ResetCalibration();
    void OpenKeyboardEntry();
    void EndProgram();

    // Calibration controls (panel_calibration.cpp).
    void OnPointBox(int box, bool checked);
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
    void ShowSamplingBoxes(bool shown);
    void EnableMidControls(bool enabled);
    bool AnyNonPositiveLogValue() const;
    void HoverBasicFrame();
    void HoverSettingsFrame();
    void HoverConfirmButton();
    bool TestFrameReady();
    void SwitchDisplayForm();

    // Canvas reactions (panel_canvas.cpp).
    void OnCanvasPressed(QPointF position);
    void OnCanvasMoved(QPointF position);
    void OnCanvasClicked();
    void OnCanvasDoubleClicked();
    void PlacePoint(core::PickMode mode, double x, double y);
    void Capture(double x, double y);
    bool ConvertIntoSamplingBoxes(double x, double y);
    void RedrawCalibrationMarks();
    void RedrawMidMarks();
    void SetPointers(const QCursor& cursor);

    Workspace& workspace_;
    MainWindow& mainWindow_;
    Canvas& canvas_;
    DataSetWindow* dataSet_ = nullptr;

    QMenuBar* menuBar_ = nullptr;
    QWidget* body_ = nullptr;
    QLabel* label11_ = nullptr;
    QTextEdit* text7_ = nullptr;
    QLabel* text12_ = nullptr;
    QGroupBox* basicFrame_ = nullptr;
    QGroupBox* settingsFrame_ = nullptr;
    std::array<QCheckBox*, 5> check_{};     // 1..4: Check1..Check4
    std::array<QLineEdit*, 5> valueBox_{};  // 1..4: Text3..Text6
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command8_ = nullptr;
    std::array<QRadioButton*, 2> option2_{};  // linear X / Y
    std::array<QRadioButton*, 2> option3_{};  // logarithmic X / Y
    QCheckBox* check5_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QLineEdit* text9_ = nullptr;
    std::array<QCheckBox*, 2> midBox_{};   // Check6, Check7
    std::array<QLineEdit*, 2> midText_{};  // Text10, Text11
    std::array<QRadioButton*, core::kMaxLines> option1_{};
    QAction* keyboardAction_ = nullptr;

    QTimer timer1_;
    QTimer timer2_;

    // Panel state.
    int16_t helpShown_ = 0;
    int16_t autoConfirmDone_ = 0;
    int16_t readyAnnounced_ = 0;
    int16_t loadMode_ = 0;
    core::PickMode pickMode_ = core::kPickNone;
    int16_t skipCapture_ = 0;
    // The last pointer position in canvas units. Held wider than 16 bits: a
    // scan of a few thousand pixels already reaches past 32767 canvas units.
    int mouseX_ = 0;
    int mouseY_ = 0;
    QPointF convertPosition_;  // the last position waiting for conversion
    bool liveToggle_ = false;
    bool pointBoxUsed_ = false;
    bool messagePostedNow_ = false;
    bool firstShown_ = false;
};

}  // namespace kx::ui
