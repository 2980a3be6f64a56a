#include "ui/digitizer/canvas_view.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "core/digitizer/canvas_zoom.h"
#include "ui/digitizer/canvas.h"
#include "ui/window/pointers.h"

namespace kx::ui {
namespace {

constexpr int kWheelStep = 120;  // one notch of a wheel

}  // namespace

CanvasView::CanvasView(Canvas& canvas, QScrollArea& area)
    : QObject(&canvas), canvas_(canvas), area_(area) {
    canvas.installEventFilter(this);
    // The keys act wherever the main window has the keyboard.
    QWidget* window = area.window();
    const auto key = [&](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(window);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    key({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { ZoomAboutMiddle(1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { ZoomAboutMiddle(-1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { ShowAsLoaded(); });
}

double CanvasView::FittedZoom() const {
    const QSize view = area_.maximumViewportSize();
    return core::FittedZoom(canvas_.picture().width(), canvas_.picture().height(), view.width(),
                            view.height());
}

QPointF CanvasView::ViewPoint(QPointF canvasPoint) const {
    return canvasPoint + QPointF(canvas_.pos());
}

void CanvasView::ZoomBy(int steps, QPointF anchor) {
    ZoomTo(core::SteppedZoom(canvas_.zoom(), steps, FittedZoom()), anchor);
}

void CanvasView::ZoomAboutMiddle(int steps) {
    const QSize view = area_.viewport()->size();
    ZoomBy(steps, QPointF(view.width() / 2.0, view.height() / 2.0));
}

void CanvasView::ShowAsLoaded() {
    ZoomTo(1.0, QPointF());
}

void CanvasView::ZoomTo(double zoom, QPointF anchor) {
    if (!canvas_.hasPicture()) return;
    zoom = std::clamp(zoom, core::SmallestZoom(FittedZoom()), core::kLargestZoom);
    const double from = canvas_.zoom();
    if (zoom == from) return;
    QScrollBar* bars[] = {area_.horizontalScrollBar(), area_.verticalScrollBar()};
    const double scroll[] = {static_cast<double>(bars[0]->value()),
                             static_cast<double>(bars[1]->value())};
    canvas_.SetZoom(zoom);
    emit zoomed();
    const double at[] = {anchor.x(), anchor.y()};
    for (int axis = 0; axis < 2; ++axis) {
        const double to = core::ScrollKeepingAnchor(scroll[axis], at[axis], from, zoom);
        bars[axis]->setValue(static_cast<int>(std::lround(to)));
    }
}

bool CanvasView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &canvas_) return false;
    switch (event->type()) {
        case QEvent::Wheel: return Wheel(static_cast<QWheelEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return Press(static_cast<QMouseEvent&>(*event));
        case QEvent::MouseMove: return Move(static_cast<QMouseEvent&>(*event));
        case QEvent::MouseButtonRelease: return Release(static_cast<QMouseEvent&>(*event));
        case QEvent::KeyPress: return Key(static_cast<QKeyEvent&>(*event), true);
        case QEvent::KeyRelease: return Key(static_cast<QKeyEvent&>(*event), false);
        case QEvent::FocusOut: spaceHeld_ = false; return false;
        default: return false;
    }
}

bool CanvasView::Wheel(QWheelEvent& event) {
    if (!(event.modifiers() & Qt::ControlModifier)) return false;  // the area scrolls
    wheelRest_ += event.angleDelta().y();
    const int steps = wheelRest_ / kWheelStep;
    wheelRest_ -= steps * kWheelStep;
    if (steps != 0) ZoomBy(steps, ViewPoint(event.position()));
    event.accept();
    return true;
}

bool CanvasView::Press(QMouseEvent& event) {
    const bool drag =
        event.button() == Qt::MiddleButton || (event.button() == Qt::LeftButton && spaceHeld_);
    if (!drag) return false;
    panning_ = true;
    panFrom_ = event.globalPosition().toPoint();
    canvas_.setCursor(Qt::ClosedHandCursor);
    canvas_.HideLoupe();
    return true;
}

bool CanvasView::Move(QMouseEvent& event) {
    if (!panning_) return false;
    const QPoint now = event.globalPosition().toPoint();
    const QPoint by = now - panFrom_;
    panFrom_ = now;
    area_.horizontalScrollBar()->setValue(area_.horizontalScrollBar()->value() - by.x());
    area_.verticalScrollBar()->setValue(area_.verticalScrollBar()->value() - by.y());
    return true;
}

bool CanvasView::Release(QMouseEvent& event) {
    if (!panning_) return false;
    if (event.buttons() & (Qt::MiddleButton | Qt::LeftButton)) return true;
    panning_ = false;
    canvas_.setCursor(spaceHeld_ ? QCursor(Qt::OpenHandCursor) : CrossPointer());
    return true;
}

bool CanvasView::Key(QKeyEvent& event, bool pressed) {
    if (event.key() != Qt::Key_Space) return false;
    if (!event.isAutoRepeat()) {
        spaceHeld_ = pressed;
        if (!panning_) canvas_.setCursor(pressed ? QCursor(Qt::OpenHandCursor) : CrossPointer());
    }
    return true;
}

}  // namespace kx::ui
