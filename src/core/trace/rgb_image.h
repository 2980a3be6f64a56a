#pragma once

#include <cstddef>
#include <cstdint>

// A picture as the tracing reads it: rows of pixels whose first three bytes
// are red, green and blue (3 bytes a pixel, or 4 with a fourth byte that is not
// looked at). The buffer belongs to the caller and must outlive the trace.
namespace kx::core {

struct RgbImage {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // bytes from the start of one row to the next
    int pixelBytes = 3;         // 3 (R, G, B) or 4 (R, G, B, unused)

    const std::uint8_t* At(int x, int y) const {
        return pixels + y * stride + static_cast<std::ptrdiff_t>(x) * pixelBytes;
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// A position in picture pixels: the centre of the top-left pixel is (0, 0),
// x grows to the right and y downwards.
struct PicturePoint {
    double x = 0;
    double y = 0;
};

}  // namespace kx::core
