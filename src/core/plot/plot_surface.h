#pragma once

#include <cstdint>
#include <string_view>

// The drawing target of the analysis plot. The plot is laid out in drawing
// units: the lower-left corner of the axes box is (0, 0), x grows to the right
// and y downwards, so the box's top edge is at y = -600. A target shows one
// rectangle of that plane (the drawing window) on its whole drawing area and
// maps coordinates itself; fonts keep their point size whatever the mapping, so
// text is measured by the target and reported back in drawing units.
namespace kx::core {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kPlotBlack{0, 0, 0};
inline constexpr Rgb kPlotBlue{0, 0, 255};     // axes and curves
inline constexpr Rgb kPlotGrey{80, 80, 80};    // ticks and grid lines
inline constexpr Rgb kPlotRed{254, 0, 0};      // parameter labels
inline constexpr Rgb kPlotAfterRed{18, 0, 0};  // the colour left behind by the labels

// The font every text of the plot asks for; a target without it takes an
// installed Japanese Gothic font.
inline constexpr const char* kPlotFontName = "ＭＳ ゴシック";

// What a text is for; its point size follows from it (see FontSize).
enum class TextRole { kTickLabel, kAxisName, kTitle, kParameter };

// Point size of a role's font: 9 tick labels, 12 axis names, 8 the title and
// everything written after it (the parameter labels).
int FontSize(TextRole role);

// A size in drawing units: the width along x, the height along y. On a target
// whose two axes have different scales the two are measured separately.
struct TextSize {
    double width = 0.0;
    double height = 0.0;
};

// The rectangle of the drawing plane that a target shows on its whole area.
struct DrawingWindow {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool operator==(const DrawingWindow&) const = default;
};

// A target's drawing area in its own units; only the ratio of the two counts.
struct PageSize {
    double width = 0.0;
    double height = 0.0;
};

class PlotSurface {
public:
    virtual ~PlotSurface() = default;

    // From now on `window` fills the target's drawing area, x to the right and
    // y downwards. Does not erase anything: labels added after a pass go onto
    // the same picture.
    virtual void setDrawingWindow(const DrawingWindow& window) = 0;
    // Erases the picture (screen targets; a page starts blank anyway).
    virtual void clear() = 0;

    // Colour of the lines, circles and texts drawn after it.
    virtual void setColor(Rgb color) = 0;
    // Width of the lines and circles drawn after it, in the target's own line
    // widths: 1 is its thinnest clear line (one pixel on a screen); the printer
    // draws the axes with 3 and the curves with 2.
    virtual void setLineWidth(int width) = 0;

    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    // A round circle around (x, y); the radius is in drawing units along x.
    virtual void drawCircle(double x, double y, double radius) = 0;
    // A text whose top-left corner is at (x, y), in the role's font.
    virtual void drawText(double x, double y, std::string_view text, TextRole role) = 0;

    // Width and height of a text in the role's font, in drawing units.
    virtual TextSize measureText(std::string_view text, TextRole role) const = 0;
    // The target's drawing area, for laying out a page.
    virtual PageSize pageSize() const = 0;
};

}  // namespace kx::core
