#pragma once

#include <QMainWindow>
#include <QPoint>

class QBoxLayout;
class QScrollArea;

namespace kx::ui {

class Canvas;
class CanvasView;

// The main window "Kuvatelix" (`MDIForm20`) that holds the picture canvas. The
// canvas is docked along the window's top edge or along its left edge; it
// scrolls when the picture is larger than the window can grow on the screen.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    Canvas& canvas() { return *canvas_; }
    QScrollArea& canvasArea() { return *area_; }
    // The zoom and pan of the canvas.
    CanvasView& canvasView() { return *view_; }

    bool dockedAtTop() const { return dockedAtTop_; }
    void SwitchDocking();  // the panel's "□"

    // The point where the panel and the DataSet window stand: the right edge
    // (left + width) and the top of this window.
    QPoint RightEdgeTop() const;

    // Lays the canvas out again in its docking (after a resize or a new picture).
    void LayOutCanvas();
    // Grows the window so that the whole picture shows without scroll bars,
    // as far as the screen allows with `roomRight` pixels left free beside it
    // (the panel stands there), moved left and up where that makes room;
    // never smaller than the window's first size.
    void FitToPicture(int roomRight);

signals:
    void rightEdgeChanged(QPoint rightEdgeTop);
    // Enabled again or activated: what the canvas draws over the picture may
    // have changed meanwhile (a run of the program generation).
    void canvasStateChanged();
    // Its frame was closed while it was enabled: the owner ends the program,
    // asking first when the work is unsaved.
    void endByFrameRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Closing the main window by its frame ends the program (hidden, it
    // could not be brought back); disabled, it is not closed.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Canvas* canvas_;
    QScrollArea* area_;
    CanvasView* view_;
    QBoxLayout* layout_;
    bool dockedAtTop_ = true;
};

}  // namespace kx::ui
