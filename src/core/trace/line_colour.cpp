#include "core/trace/line_colour.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kx::core {
namespace {

double LinearOf(double channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The linear light of every byte value, read for every pixel weighed.
struct LinearTable {
    std::array<double, 256> value{};
    LinearTable() {
        for (int i = 0; i < 256; ++i) value[static_cast<std::size_t>(i)] = LinearOf(i);
    }
};
const LinearTable kLinear;

double LabF(double t) {
    constexpr double kEpsilon = 216.0 / 24389.0;
    constexpr double kKappa = 24389.0 / 27.0;
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

// L*a*b* of linear red, green and blue (sRGB primaries, D65 white).
Lab LabOfLinear(double r, double g, double b) {
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = LabF(x), fy = LabF(y), fz = LabF(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Lab LabOfBytes(const std::uint8_t* rgb) {
    return LabOfLinear(kLinear.value[rgb[0]], kLinear.value[rgb[1]], kLinear.value[rgb[2]]);
}

// Blends of paper and ink, precomputed at these steps of the ink share.
constexpr int kBlendSteps = 64;
// Below this share a pixel is paper; anti-aliased edges hold more.
constexpr double kLeastShare = 0.1;

}  // namespace

Lab LabOf(const RgbTriple& rgb) {
    return LabOfLinear(LinearOf(rgb[0]), LinearOf(rgb[1]), LinearOf(rgb[2]));
}

double DeltaE(const Lab& p, const Lab& q) {
    return std::sqrt((p.L - q.L) * (p.L - q.L) + (p.a - q.a) * (p.a - q.a) +
                     (p.b - q.b) * (p.b - q.b));
}

InkModel::InkModel(const RgbTriple& paper, const RgbTriple& ink, double tolerance)
    : paper_(paper), ink_(ink), tolerance_(tolerance) {
    for (std::size_t c = 0; c < 3; ++c) toInk_[c] = ink[c] - paper[c];
    toInkSquared_ = toInk_[0] * toInk_[0] + toInk_[1] * toInk_[1] + toInk_[2] * toInk_[2];
    paperLab_ = LabOf(paper);
    inkLab_ = LabOf(ink);
    contrast_ = DeltaE(paperLab_, inkLab_);
    blends_.resize(kBlendSteps + 1);
    for (int k = 0; k <= kBlendSteps; ++k) {
        const double share = static_cast<double>(k) / kBlendSteps;
        RgbTriple blend;
        for (std::size_t c = 0; c < 3; ++c) blend[c] = paper[c] + share * toInk_[c];
        blends_[static_cast<std::size_t>(k)] = LabOf(blend);
    }
}

double InkModel::Weight(const std::uint8_t* rgb) const {
    if (toInkSquared_ <= 0) return 0;
    const double dot = (rgb[0] - paper_[0]) * toInk_[0] + (rgb[1] - paper_[1]) * toInk_[1] +
                       (rgb[2] - paper_[2]) * toInk_[2];
    const double share = std::min(1.0, dot / toInkSquared_);
    if (share < kLeastShare) return 0;
    const auto step = static_cast<std::size_t>(std::lround(share * kBlendSteps));
    // A faint pixel must match its blend more closely: a light grid line in
    // another colour lies as near a faint blend as a strong one to the ink.
    if (DeltaE(LabOfBytes(rgb), blends_[step]) > tolerance_ * (0.2 + 0.8 * share)) return 0;
    return share;
}

RgbTriple PaperAround(const RgbImage& image, int x, int y) {
    constexpr int kReach = 40;
    constexpr int kStep = 4;
    std::array<std::vector<double>, 3> channels;
    for (int v = std::max(0, y - kReach); v <= std::min(image.height - 1, y + kReach);
         v += kStep) {
        for (int u = std::max(0, x - kReach); u <= std::min(image.width - 1, x + kReach);
             u += kStep) {
            const std::uint8_t* p = image.At(u, v);
            for (std::size_t c = 0; c < 3; ++c) channels[c].push_back(p[c]);
        }
    }
    RgbTriple paper{};
    for (std::size_t c = 0; c < 3; ++c) {
        auto& values = channels[c];
        if (values.empty()) continue;
        auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
        std::nth_element(values.begin(), middle, values.end());
        paper[c] = *middle;
    }
    return paper;
}

std::optional<RgbTriple> InkNear(const RgbImage& image, PicturePoint seed, const RgbTriple& paper,
                                 double minContrast) {
    constexpr int kReach = 4;
    const Lab paperLab = LabOf(paper);
    const int sx = static_cast<int>(std::lround(seed.x));
    const int sy = static_cast<int>(std::lround(seed.y));
    // The strongest pixel, a near one preferred to a farther one as strong.
    double best = -1;
    int bx = 0, by = 0;
    for (int v = sy - kReach; v <= sy + kReach; ++v) {
        for (int u = sx - kReach; u <= sx + kReach; ++u) {
            if (!image.Contains(u, v)) continue;
            const double strength = DeltaE(LabOfBytes(image.At(u, v)), paperLab);
            const double score = strength - 1.5 * std::hypot(u - seed.x, v - seed.y);
            if (strength >= minContrast && score > best) {
                best = score;
                bx = u;
                by = v;
            }
        }
    }
    if (best < 0) return std::nullopt;
    const double strongest = DeltaE(LabOfBytes(image.At(bx, by)), paperLab);
    RgbTriple sum{};
    int count = 0;
    for (int v = by - 1; v <= by + 1; ++v) {
        for (int u = bx - 1; u <= bx + 1; ++u) {
            if (!image.Contains(u, v)) continue;
            const std::uint8_t* p = image.At(u, v);
            if (DeltaE(LabOfBytes(p), paperLab) < 0.8 * strongest) continue;
            for (std::size_t c = 0; c < 3; ++c) sum[c] += p[c];
            ++count;
        }
    }
    for (double& c : sum) c /= count;
    return sum;
}

}  // namespace kx::core
