#include "core/plot/recording_surface.h"

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

constexpr double kCharWidthPerPoint = 0.8;
constexpr double kHeightPerPoint = 1.5;

}  // namespace

DrawCall RecordingSurface::call(DrawCall::Kind kind) const {
    DrawCall c;
    c.kind = kind;
    c.color = color_;
    c.lineWidth = lineWidth_;
    return c;
}

void RecordingSurface::clear() {
    calls_.clear();
    calls_.push_back(call(DrawCall::Kind::kClear));
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2) {
    DrawCall c = call(DrawCall::Kind::kLine);
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    calls_.push_back(std::move(c));
}

void RecordingSurface::drawCircle(double x, double y, double radius) {
    DrawCall c = call(DrawCall::Kind::kCircle);
    c.x1 = x;
    c.y1 = y;
    c.x2 = radius;
    calls_.push_back(std::move(c));
}

void RecordingSurface::drawText(double x, double y, std::string_view text, TextRole role) {
    DrawCall c = call(DrawCall::Kind::kText);
    c.x1 = x;
    c.y1 = y;
    c.text = std::string(text);
    c.role = role;
    calls_.push_back(std::move(c));
}

TextSize RecordingSurface::measureText(std::string_view text, TextRole role) const {
    const double points = FontSize(role);
    return {static_cast<double>(CharCount(text)) * kCharWidthPerPoint * points,
            kHeightPerPoint * points};
}

}  // namespace kx::core
