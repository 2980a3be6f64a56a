#pragma once

#include <QPoint>
#include <QWidget>

namespace kx::ui {

class Canvas;

// The magnifier over the canvas: the canvas around the pointer, four times
// enlarged at the view's zoom with its marks and fitted curves, a cross-hair
// at the pointer's screen pixel.
// It stands beside the pointer, never under it, inside the part of the canvas
// in view. It takes no mouse input: the canvas below gets every press.
class Loupe : public QWidget {
    Q_OBJECT
public:
    static constexpr int kZoom = 4;
    static constexpr int kReach = 19;  // pixels of the canvas either side of the pointer
    static constexpr int kSide = (2 * kReach + 1) * kZoom;

    explicit Loupe(Canvas& canvas);

    // Shows the canvas around `pixel` (its widget pixels) beside it.
    void FollowPointer(QPoint pixel);
    QPoint pixel() const { return pixel_; }
    // Where in the loupe the pixel under the pointer is drawn (its cell).
    QRect PointerCell() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect SourceRect() const;
    void PlaceBeside(QPoint pixel);

    Canvas& canvas_;
    QPoint pixel_;
};

}  // namespace kx::ui
