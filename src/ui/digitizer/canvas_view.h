#pragma once

#include <QObject>
#include <QPoint>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QScrollArea;
class QWheelEvent;

namespace kx::ui {

class Canvas;

// The zoom and the pan of the canvas in its scroll area; they change only
// the view. Ctrl and the wheel zoom about the pointer, Ctrl++ / Ctrl+- about
// the middle of the view, Ctrl+0 shows the picture as loaded; from the whole
// picture fitted in the view up to 16x. The middle button, or Space held
// with the left button, drags the picture; such a press is not one of the
// canvas.
class CanvasView : public QObject {
    Q_OBJECT
public:
    CanvasView(Canvas& canvas, QScrollArea& area);

    // `steps` zoom steps (negative: out) about `anchor`, a point of the view
    // (the scroll area's viewport).
    void ZoomBy(int steps, QPointF anchor);
    void ZoomAboutMiddle(int steps);
    // The zoom `zoom` about `anchor`, held within the zoom's range.
    void ZoomTo(double zoom, QPointF anchor);
    void ShowAsLoaded();  // Ctrl+0
    // The whole picture in the view.
    double FittedZoom() const;
    bool panning() const { return panning_; }

signals:
    // The canvas took another size: the window lays it out again.
    void zoomed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Wheel(QWheelEvent& event);
    bool Press(QMouseEvent& event);
    bool Move(QMouseEvent& event);
    bool Release(QMouseEvent& event);
    bool Key(QKeyEvent& event, bool pressed);
    QPointF ViewPoint(QPointF canvasPoint) const;

    Canvas& canvas_;
    QScrollArea& area_;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPoint panFrom_;     // global position of the last pan move
    int wheelRest_ = 0;  // wheel turns below one step, kept for the next event
};

}  // namespace kx::ui
