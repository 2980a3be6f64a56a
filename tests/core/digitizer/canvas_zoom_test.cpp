#include <gtest/gtest.h>

#include "core/digitizer/canvas_zoom.h"

namespace kx::core {
namespace {

TEST(CanvasZoom, StepsRunFromTheFittedPictureToSixteen) {
    const double fitted = FittedZoom(6000, 8000, 1000, 700);  // a scan larger than the view
    EXPECT_DOUBLE_EQ(fitted, 700.0 / 8000);
    struct Row {
        double zoom;
        int steps;
        double fitted;
        double expected;
    } rows[] = {
        {1, 1, 1, 1.4142135623730951},
        {1, 2, 1, 2},
        {2, 4, 1, 8},
        {8, 2, 1, 16},
        {16, 1, 1, 16},
        {4, -4, 1, 1},
        {1, -1, 1, 1},  // a picture that fits is never shown smaller than loaded
        {1, -1, 0.3, 0.7071067811865476},
        {0.5, -2, 0.3, 0.3},  // the whole scan, not less
        {3, 1, 1, 4},         // between two steps: the next one up
        {3, -1, 1, 2.8284271247461903},
        {0.3, 1, 0.3, 0.35355339059327379},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.zoom << " by " << row.steps);
        EXPECT_NEAR(SteppedZoom(row.zoom, row.steps, row.fitted), row.expected, 1e-12);
    }
}

TEST(CanvasZoom, TheAnchorStaysUnderThePointer) {
    // The picture point under view position 300 at scroll 500, zoom 2, is
    // canvas pixel 800, picture pixel 400; at zoom 8 it is at canvas 3200.
    const double scroll = ScrollKeepingAnchor(500, 300, 2, 8);
    EXPECT_DOUBLE_EQ(scroll + 300, 3200);
    EXPECT_DOUBLE_EQ(ScrollKeepingAnchor(scroll, 300, 8, 2), 500);
}

}  // namespace
}  // namespace kx::core
