#pragma once

#include <QPoint>
#include <QSet>
#include <QTimer>

#include "core/files/session.h"
#include "ui/digitizer/data_set_window.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui/files/load_window.h"
#include "ui/files/save_window.h"
#include "ui/plot/plot_window.h"
#include "ui/results/conditions_window.h"
#include "ui/results/exclusion_window.h"
#include "ui/results/gauge_window.h"
#include "ui/results/keyboard_window.h"
#include "ui/results/program_window.h"
#include "ui/results/validation_window.h"
#include "ui/window/clipboard_memory.h"
#include "ui/window/work_recorder.h"
#include "ui/window/workspace.h"

namespace kx::ui {

// The windows of one program run, made and connected in this one place. A
// window asks for another by a signal; the connections here open it with
// ChildWindow::OpenFrom and finish each hand-over when it returns. A new
// window is a ChildWindow made here, with its few connections in Connect().
class Desktop {
public:
    // `drives`: what the load and save windows list as drives (the system's
    // volumes; tests may give others). `recoveryFolder`: where the work is
    // recorded as it changes and where a run that ended left its work; empty,
    // nothing is recorded or offered.
    explicit Desktop(Workspace& workspace, DriveSource drives = SystemDrives,
                     const QString& recoveryFolder = {});
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The start of the program: the clipboard's picture is stale, the panel
    // takes its start state and shows itself beside the main window; the work
    // a run left unsaved is offered.
    void Start();

    MainWindow& mainWindow() { return main_; }
    DigitizerPanel& panel() { return panel_; }
    DataSetWindow& dataSet() { return dataSet_; }
    KeyboardWindow& keyboard() { return keyboard_; }
    ProgramWindow& program() { return program_; }
    GaugeWindow& gauge() { return gauge_; }
    ConditionsWindow& conditions() { return conditions_; }
    ExclusionWindow& exclusion() { return exclusion_; }
    PlotWindow& plot() { return plot_; }
    ValidationWindow& validation() { return validation_; }
    LoadWindow& load() { return load_; }
    SaveWindow& save() { return save_; }
    WorkRecorder& recorder() { return recorder_; }

private:
    void Connect();
    // The panel and the DataSet window stand at the main window's right edge,
    // kept on the screen when the main window reaches its edge.
    void FollowMainWindow(QPoint rightEdgeTop);
    void PlaceBesideMainWindow(QWidget& window);
    void ConnectFileWindows();
    // The load window has gone: the hand-over of its mode.
    void FinishLoad();
    // The save window for `saveKind`, opened from `opener`.
    void OpenSaveWindow(int saveKind, QWidget* opener);

    // Sessions (desktop_sessions.cpp): the work as a session, a session
    // opened in its place, the caption naming it; the work left by a run
    // offered at the start; the question before a close by a frame.
    void ConnectSessions();
    core::Session SessionOfWork(bool withPicture = true) const;
    QString OpenSession(const QString& fileName, const core::Session& session);
    void TakeSession(const core::Session& session);
    void NameSession(const QString& fileName);
    void OfferLeftWork();
    // The left work in place of this run's, recorded as this run's own;
    // false when it could not be (the left file is then kept).
    bool RestoreLeftWork(const core::Session& session);
    void EndByFrame();

    Workspace& workspace_;
    ClipboardMemory clipboard_;
    MainWindow main_;
    DataSetWindow dataSet_;
    DigitizerPanel panel_;
    GaugeWindow gauge_;
    ProgramWindow program_;
    KeyboardWindow keyboard_;
    ConditionsWindow conditions_;
    ExclusionWindow exclusion_;
    PlotWindow plot_;
    ValidationWindow validation_;
    LoadWindow load_;
    SaveWindow save_;
    WorkRecorder recorder_;
    bool endAfterSave_ = false;  // the close question's "作業の保存" was chosen
    QPoint rightEdgeTop_;
    // Where the main window stood when the keyboard entry hid it, and while
    // it is shown again: a window system places a window shown again anew,
    // and its first moves are taken back.
    QPoint hiddenMainWindowAt_;
    bool mainWindowReturning_ = false;
    QTimer mainWindowReturnEnds_;
    QSet<QWidget*> awaitingFrame_;  // placed once the window manager has framed them
};

}  // namespace kx::ui
