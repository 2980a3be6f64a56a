#pragma once

// The zoom of the picture canvas: the view only. Canvas positions stay
// picture pixels x 15 at every zoom; a zoom is how many screen pixels one
// picture pixel spans.
namespace kx::core {

inline constexpr double kLargestZoom = 16.0;

// The zoom that shows the whole picture (`pictureWidth` x `pictureHeight`)
// inside a view of `viewWidth` x `viewHeight` screen pixels.
double FittedZoom(int pictureWidth, int pictureHeight, int viewWidth, int viewHeight);

// The smallest zoom: the whole picture fitted, but never above the picture
// as loaded.
double SmallestZoom(double fitted);

// `steps` zoom steps from `zoom` (negative: out), each a factor of the square
// root of 2, so that 1, 2, 4, 8 and 16 are steps; held within
// SmallestZoom(fitted) .. kLargestZoom. A zoom between two steps goes to the
// next step in the direction asked for.
double SteppedZoom(double zoom, int steps, double fitted);

// The scroll position that keeps the point under `anchor` (a position in the
// view, screen pixels) where it is when the zoom goes from `from` to `to`;
// `scroll` is the scroll position before.
double ScrollKeepingAnchor(double scroll, double anchor, double from, double to);

}  // namespace kx::core
