#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <optional>
#include <vector>

class QKeyEvent;

namespace kx::ui {

class Loupe;

// The picture canvas `Picture1`: the graph picture drawn from the top-left
// corner at the view's zoom, and over it a layer of marks (calibration
// points, axis lines, mid points). Positions are canvas units, picture pixels
// x 15, however large the window is and whatever the zoom: at 8x a press lands
// on an eighth of a pixel. The unmarked picture is kept as the stored copy;
// restoring it clears the marks. Marks are kept as shapes and drawn at the
// screen's resolution, so a press only repaints the few pixels it touches,
// however large the scan is, and no zoom copies the picture.
//
// Over the picture and beside the marks layer stand the marks of the captured
// points, in the colour of their line, and the fitted curves; both are data
// given by the panel, so that restoring the picture leaves them. The loupe
// magnifies what the canvas shows.
class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    // SetCanvasPicture: the canvas shows the picture and the stored copy
    // becomes the same picture. A null image gives an empty canvas.
    void SetCanvasPicture(const QImage& picture);
    // RestoreCanvasPicture: back to the stored copy; every mark goes.
    void RestoreCanvasPicture();
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }

    // A point mark (circle of radius 0.12 U and a cross of 0.6 U) and a
    // straight line, in canvas units.
    void DrawPointMark(double cx, double cy, const QColor& color);
    void DrawLine(double x1, double y1, double x2, double y2, const QColor& color);
    int markCount() const { return static_cast<int>(marks_.size()); }

    // The marks of the captured points, positions in canvas units.
    struct CaptureMark {
        QPointF at;
        int line = 0;   // 1..10
        int point = 0;  // the point's place in its line's text
    };
    void SetCaptureMarks(const std::vector<CaptureMark>& marks);
    const std::vector<CaptureMark>& captureMarks() const { return captureMarks_; }
    // The mark nearest to `widgetPoint` within its reach, if any.
    std::optional<CaptureMark> CaptureMarkAt(QPointF widgetPoint) const;
    // The colour of line 1..10's marks.
    static QColor LineColour(int line);

    // The fitted curves over the picture, polylines in canvas units.
    void SetFitOverlay(const std::vector<QPolygonF>& curves);
    const std::vector<QPolygonF>& fitCurves() const { return fitCurves_; }  // pixels, as drawn
    static QColor FitColour();

    // The centre lines of the traced curves, canvas units, each drawn thinly
    // in the colour of the line its points went into.
    struct TracedCurve {
        QPolygonF centre;
        int line = 0;  // 1..10
        bool operator==(const TracedCurve&) const = default;
    };
    void SetTracedOverlay(const std::vector<TracedCurve>& curves);
    const std::vector<TracedCurve>& tracedCurves() const { return tracedCurves_; }  // as drawn

    // The view's zoom: screen pixels per picture pixel. The canvas is the
    // picture's size times the zoom; a new picture starts at 1.
    void SetZoom(double zoom);
    double zoom() const { return zoom_; }
    // A canvas position (units) as a position on this widget, and back.
    QPointF WidgetPoint(QPointF canvasUnits) const;
    QPointF CanvasPoint(QPointF widgetPoint) const;

    // The loupe at the pointer (canvas units), or hidden.
    void ShowLoupe(QPointF canvasUnits);
    void HideLoupe();
    Loupe& loupe() { return *loupe_; }

    // The arrow keys move the last placed or captured point instead of
    // scrolling the picture.
    void TakeArrowKeys(bool taken) { arrowsTaken_ = taken; }
    // The move of an arrow key in picture pixels (Shift: ten); none for
    // another key.
    static QPoint NudgeStep(const QKeyEvent& event);

    // Draws the picture with everything over it inside `area` (widget pixels).
    void PaintScene(QPainter& painter, const QRect& area) const;

    // U: the height of the text "A" in the canvas font, in canvas units.
    double MarkerUnit() const;

    // The floating label `Label1` beside the pointer.
    QLabel& floatingLabel() { return *label_; }
    void SetFloatingLabel(const QString& text);  // empty text hides it
    void PlaceFloatingLabel(int mouseX, int mouseY);

    QSize sizeHint() const override;

signals:
    void pressed(QPointF canvasPos);
    void moved(QPointF canvasPos);
    void clicked();
    void doubleClicked();
    // A press with Shift on the mark of a captured point.
    void captureMarkShiftClicked(int line, int point);
    // An arrow key while they are taken: picture pixels right and down.
    void nudgeRequested(int dx, int dy);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Mark {
        bool isLine = false;
        QPointF a, b;  // pixels: centre (point mark) or ends (line)
        double radius = 0;
        double arm = 0;
        QColor color;
    };
    QRect MarkBounds(const Mark& mark) const;
    void AddMark(const Mark& mark);
    // Where a picture position (pixels) stands on the widget; a captured
    // point and a curve stand in the middle of the screen pixel clicked.
    QPointF Scaled(QPointF pixels) const { return pixels * zoom_; }
    QPointF CaptureMarkPoint(QPointF canvasUnits) const;
    QPointF CurvePoint(QPointF drawn) const;
    static QRect CaptureMarkBounds(QPointF widgetPoint);
    QRect CurveBounds(const QPolygonF& curve) const;
    void PaintPicture(QPainter& painter, const QRect& area) const;
    void PaintCurves(QPainter& painter, const QRect& area) const;
    void PaintPolyline(QPainter& painter, const QRect& area, const QPolygonF& curve) const;
    static QPolygonF PixelMiddles(const QPolygonF& canvasUnits);

    QImage picture_;
    std::vector<Mark> marks_;
    std::vector<CaptureMark> captureMarks_;
    std::vector<QPolygonF> fitCurves_;       // pixels at zoom 1, in the middle of theirs
    std::vector<TracedCurve> tracedCurves_;  // the same
    QLabel* label_;
    Loupe* loupe_;
    bool pressInside_ = false;
    bool arrowsTaken_ = false;
    double zoom_ = 1.0;
};

}  // namespace kx::ui
