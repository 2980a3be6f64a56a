#pragma once

#include <string>
#include <vector>

#include "core/plot/plot_surface.h"

namespace kx::core {

// One call on a surface, with the colour and line width in force.
struct DrawCall {
    enum class Kind { kClear, kLine, kCircle, kText };
    Kind kind = Kind::kLine;
    // A line from (x1, y1) to (x2, y2); a circle around (x1, y1) of radius x2;
    // a text with its top-left corner at (x1, y1).
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    std::string text;
    TextRole role = TextRole::kTickLabel;
    Rgb color;
    int lineWidth = 1;
};

// A surface that keeps what is drawn on it instead of drawing, so that a pass
// can be read back. Clearing forgets what was drawn before (and is recorded),
// so the calls are always those of the picture as it stands. Its text is a fixed-pitch font: per
// character 0.8 times the role's point size wide and 1.5 times it high, in drawing units.
class RecordingSurface : public PlotSurface {
public:
    explicit RecordingSurface(PageSize page = {750.0, 790.0}) : page_(page) {}

    void setDrawingWindow(const DrawingWindow& window) override { window_ = window; }
    void clear() override;
    void setColor(Rgb color) override { color_ = color; }
    void setLineWidth(int width) override { lineWidth_ = width; }
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawCircle(double x, double y, double radius) override;
    void drawText(double x, double y, std::string_view text, TextRole role) override;
    TextSize measureText(std::string_view text, TextRole role) const override;
    PageSize pageSize() const override { return page_; }

    const std::vector<DrawCall>& calls() const { return calls_; }
    const DrawingWindow& window() const { return window_; }
    Rgb color() const { return color_; }
    int lineWidth() const { return lineWidth_; }
    // Forgets the calls recorded so far.
    void forget() { calls_.clear(); }

private:
    DrawCall call(DrawCall::Kind kind) const;

    PageSize page_;
    DrawingWindow window_;
    Rgb color_;
    int lineWidth_ = 1;
    std::vector<DrawCall> calls_;
};

}  // namespace kx::core
