#pragma once

#include <QPoint>
#include <QWidget>

namespace kx::ui {

class Canvas;

// The magnifier over the canvas: the picture around the pointer's pixel, four
// times enlarged with its marks and fitted curves, a cross-hair at that pixel.
// It stands beside the pointer, never under it, inside the part of the canvas
// in view. It takes no mouse input: the canvas below gets every press.
class Loupe : public QWidget {
    Q_OBJECT
public:
    static constexpr int kZoom = 4;
    static constexpr int kReach = 19;  // pixels of the picture either side of the pointer
    static constexpr int kSide = (2 * kReach + 1) * kZoom;

    explicit Loupe(Canvas& canvas);

    // Shows the picture around `pixel` (canvas pixels) beside it.
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
