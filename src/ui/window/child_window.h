#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace kx::ui {

// The base of every window that another window opens: the DataSet,
// keyboard-entry, program-generation, conditions and exclusion windows, and
// the plot, load and save windows to come. A new window derives from it, is
// made by the one owner of the windows (Desktop) and connected there; it
// writes none of the following again.
//
// Opening: OpenFrom(opener) disables the opener, and the main window too when
// it is visible and enabled (unless the window works with the canvas, see
// KeepsCanvasUsable), runs the window's Opening() and shows it in front.
//
// Going back: the window's own way back (ReturnToOpener, its "戻 る" button)
// and the close button of its frame end the same way, so that no window can
// be closed into a state where its opener stays disabled: CanReturn() may
// refuse (a run in progress, a failed check); Returning() does the window's
// own last steps; then the opener, and the main window if this window
// disabled it, are enabled, the opener is shown in front, and returned(opener)
// lets the owner finish the hand-over.
//
// Messages: one message timer (SetUpMessageTimer, with the system's name and
// interval). ShowMessageBox shows a box registered with AddMessageBox and
// starts the timer; its tick, HideMessages, hides every registered box and
// empties those registered as emptied.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    // `mainWindow`: the canvas window an opening disables while it is
    // visible (null where there is none, as in some tests).
    ChildWindow(QWidget* mainWindow, const char* name, const QString& caption);
    ~ChildWindow() override;

    void OpenFrom(QWidget* opener);
    QWidget* opener() const { return opener_; }
    QTimer& messageTimer() { return messageTimer_; }

public slots:
    // The window's way back: the same as closing it by its frame. False when
    // the window refuses to go.
    bool ReturnToOpener();
    void HideMessages();  // the tick of the message timer

signals:
    void returned(QWidget* opener);

protected:
    QWidget* mainWindow() const { return mainWindow_; }

    virtual void Opening() {}
    virtual bool CanReturn() { return true; }
    virtual void Returning() {}
    // A window that works with the canvas (the DataSet window, which receives
    // the captured points) leaves the main window enabled.
    virtual bool KeepsCanvasUsable() const { return false; }

    // The message timer: `runsWhileOpen` starts it with every opening and
    // leaves it running; otherwise a message starts it and its tick stops it.
    void SetUpMessageTimer(const char* name, int intervalMs, bool runsWhileOpen);
    void AddMessageBox(QWidget* box, bool emptiedOnTick = false);
    void ShowMessageBox(QWidget* box);

    void closeEvent(QCloseEvent* event) final;

private:
    struct MessageBox {
        QWidget* box;
        bool emptied;
    };

    QWidget* mainWindow_;
    QPointer<QWidget> opener_;
    bool disabledMainWindow_ = false;
    QTimer messageTimer_;
    bool timerRunsWhileOpen_ = false;
    std::vector<MessageBox> messageBoxes_;
};

}  // namespace kx::ui
