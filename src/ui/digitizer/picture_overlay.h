#pragma once

#include <QPolygonF>

#include <array>
#include <string>
#include <vector>

#include "core/digitizer/axis_calibration.h"
#include "core/digitizer/capture_marks.h"
#include "ui/window/workspace.h"

namespace kx::ui {

class Canvas;

// What the canvas draws over the picture from the workspace: the marks of the
// points of every line and the fitted curves. Follow() redraws what has
// changed since it last drew (the data set's points, the calibration, the
// captured positions, the results, the switch of the curves), so every change
// of those may notify it, as often as it comes.
class PictureOverlay {
public:
    PictureOverlay(const Workspace& workspace, core::CaptureMarks& marks, Canvas& canvas);

    void Follow();
    void SetCurvesShown(bool shown);

private:
    // What the marks are drawn from.
    struct MarksInputs {
        std::array<std::string, core::kMaxLines + 1> pointText;
        std::array<core::LineMarks, core::kMaxLines + 1> marks;
        core::AxisCalibration calibration;
        qint64 picture = 0;
        bool operator==(const MarksInputs&) const = default;
    };
    // What the curves are drawn from: the chosen sections and the X range
    // each spans.
    struct CurvesInputs {
        std::vector<double> sections;
        core::AxisCalibration calibration;
        qint64 picture = 0;
        bool operator==(const CurvesInputs&) const = default;
    };
    MarksInputs CurrentMarksInputs() const;
    CurvesInputs CurrentCurvesInputs() const;
    void DrawMarks();
    void DrawCurves();

    const Workspace& workspace_;
    core::CaptureMarks& marks_;
    Canvas& canvas_;
    bool curvesShown_ = true;
    MarksInputs drawnMarks_;
    CurvesInputs drawnCurves_;
    bool drawnOnce_ = false;
};

}  // namespace kx::ui
