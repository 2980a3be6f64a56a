#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/trace/rgb_image.h"

// The colour of the line under a seed, and how much of that line each pixel
// holds. An anti-aliased or compressed line is a blend of its ink and the
// paper, so a pixel is weighed by where it lies between the two (its ink
// share) and admitted only when it is close to such a blend, compared in the
// CIE L*a*b* space, where a distance means the same to the eye everywhere.
namespace kx::core {

// A colour as its red, green and blue values 0-255 (not the plot's Rgb).
using RgbTriple = std::array<double, 3>;

struct Lab {
    double L = 0, a = 0, b = 0;
};

Lab LabOf(const RgbTriple& rgb);
// The CIE 1976 colour difference.
double DeltaE(const Lab& p, const Lab& q);

class InkModel {
public:
    InkModel(const RgbTriple& paper, const RgbTriple& ink, double tolerance);

    // The share of ink in a pixel, 0 (paper or another colour) to 1.
    double Weight(const std::uint8_t* rgb) const;
    const RgbTriple& paper() const { return paper_; }
    const RgbTriple& ink() const { return ink_; }
    // The colour difference between paper and ink.
    double contrast() const { return contrast_; }

private:
    RgbTriple paper_, ink_, toInk_;
    Lab paperLab_, inkLab_;
    std::vector<Lab> blends_;  // paper to ink, in even steps of the share
    double toInkSquared_ = 0;
    double tolerance_ = 0;
    double contrast_ = 0;
};

// The paper around a position: the per-channel median of a coarse grid of a
// neighbourhood, which lines and text occupy too little of to move.
RgbTriple PaperAround(const RgbImage& image, int x, int y);

// The ink of the line nearest the seed: the most strongly coloured pixels
// (farthest from the paper) within a few pixels of it, averaged over those
// close to the strongest, so that one noisy pixel does not decide. None when
// nothing there differs from the paper by at least `minContrast`.
std::optional<RgbTriple> InkNear(const RgbImage& image, PicturePoint seed, const RgbTriple& paper,
                                 double minContrast);

}  // namespace kx::core
