#pragma once

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

#include "ui/run_observer.h"
#include "ui/workspace.h"

class QAction;
class QLabel;
class QListWidget;
class QPushButton;

namespace kx::ui {

class ConditionsWindow;
class ExclusionWindow;
class GaugeWindow;

// The program-generation window "プログラム生成": runs the fit of the prepared
// data set and shows the fitting log, the result details, the equation
// statements and the generated program.
class ProgramWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ProgramWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    // Shows the window for a prepared data set; "戻 る" returns to `opener`.
    void openFrom(QWidget* opener);

    QWidget* opener() const { return opener_; }
    bool running() const { return running_; }
    GaugeWindow& gauge() { return *gauge_; }
    RunObserver& observer() { return observer_; }
    // The settings windows, made when first opened (null before).
    ConditionsWindow* conditionsWindow() const { return conditions_.get(); }
    ExclusionWindow* exclusionWindow() const { return exclusion_.get(); }

signals:
    // The digitizer panel's timers are to stop (a run starts, the hints go).
    void panelTimersStopRequested();
    // "戻 る" closed this window and showed `opener` again.
    void returned(QWidget* opener);
    // A menu entry asked for the save window (with the save kind set) or the
    // plot window; this window is disabled until that window enables it.
    void saveRequested(int saveKind);
    void plotRequested();

public slots:
    void command1Click();  // the calculation button
    void command2Click();  // "戻 る"
    void gaugeStopped();   // the gauge's stop button
    void timer1Tick();     // hides the area hints
    void timer2Tick();     // fades the area hints in
    void timer3Tick();     // hides the hint and message boxes
    void openConditions();
    void openExclusion();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void arrange();
    void applyLeftColumn();
    void toggleEnlarged(int list);
    void listPressed(int list);
    void copySelection(int list);
    void showAreaHints();
    void hideAreaHints();
    void showLogSoFar();
    void fillResults();
    void requestSave(int saveKind);
    QString idleCaption() const;
    int outerWidth() const;  // twips, as the layout rules measure the window
    int outerHeight() const;

    Workspace& workspace_;
    RunObserver observer_;
    std::unique_ptr<GaugeWindow> gauge_;
    std::unique_ptr<ConditionsWindow> conditions_;
    std::unique_ptr<ExclusionWindow> exclusion_;
    QPointer<QWidget> opener_;

    QWidget* central_ = nullptr;
    std::array<QListWidget*, 5> list_{};  // List1..List4 at 1..4
    std::array<QLabel*, 4> areaHint_{};   // Text2(0..3)
    std::array<QColor, 2> hintColour_{};
    QLabel* text1_ = nullptr;
    QLabel* text3_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QAction* outProg_ = nullptr;
    QAction* outRes_ = nullptr;
    QAction* allRes_ = nullptr;
    QAction* gpp_ = nullptr;
    QTimer timer1_;
    QTimer timer2_;
    QTimer timer3_;

    std::array<bool, 5> enlarged_{};  // List1, List3, List4
    int lastPressed_ = 0;
    bool hintDismissed_ = false;
    bool hintsShown_ = false;
    bool running_ = false;
};

}  // namespace kx::ui
