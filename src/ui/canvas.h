#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPointF>
#include <QWidget>

#include <vector>

namespace kx::ui {

// The picture canvas `Picture1`: the graph picture drawn unscaled from the
// top-left corner, and over it a layer of marks (calibration points, axis
// lines, mid points). Positions are canvas units, picture pixels x 15, however
// large the window is. The unmarked picture is kept as the stored copy;
// restoring it clears the marks. Marks are kept as shapes, so a press only
// repaints the few pixels it touches, however large the scan is.
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

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

    QImage picture_;
    std::vector<Mark> marks_;
    QLabel* label_;
    bool pressInside_ = false;
};

}  // namespace kx::ui
