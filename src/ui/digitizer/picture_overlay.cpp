#include "ui/digitizer/picture_overlay.h"

#include <algorithm>
#include <cmath>

#include "core/digitizer/axis_inverse.h"
#include "core/plot/curve_samples.h"
#include "core/plot/plot_contents.h"
#include "ui/digitizer/canvas.h"

namespace kx::ui {
namespace {

// A fitted curve is drawn while its positions stay within this many canvas
// units of the picture; beyond, the painter would only waste its time.
constexpr double kFarOut = 1e7;

// The curve inputs of every section of every line, in line order.
std::vector<core::SectionCurve> FittedSections(const Workspace& workspace) {
    std::vector<core::SectionCurve> sections;
    for (int line = 1; line <= core::kMaxLines; ++line) {
        const core::LineFit& fit = workspace.results.lineFit[static_cast<std::size_t>(line)];
        for (int s = 1; s <= std::clamp<int>(fit.sectionCount, 0, 3); ++s) {
            sections.push_back(core::SectionInput(workspace.data, line,
                                                  fit.sections[static_cast<std::size_t>(s)]));
        }
    }
    return sections;
}

// The samples of one section as polylines in canvas units, broken where a
// sample has no position on the picture.
void AddSectionCurves(const core::AxisCalibration& cal, const core::SectionCurve& section,
                      std::vector<core::CurveSample>& samples, std::vector<QPolygonF>& curves) {
    // Sampled evenly on the picture: in the logarithm on a log X axis.
    core::EvaluateSection(section, cal.logX, samples);
    QPolygonF curve;
    const auto flush = [&] {
        if (curve.size() >= 2) curves.push_back(curve);
        curve.clear();
    };
    for (const core::CurveSample& sample : samples) {
        const auto at = core::ValueToCanvas(cal, sample.x, sample.y);
        if (!at || std::abs(at->x) > kFarOut || std::abs(at->y) > kFarOut) {
            flush();
            continue;
        }
        curve << QPointF(at->x, at->y);
    }
    flush();
}

}  // namespace

PictureOverlay::PictureOverlay(const Workspace& workspace, core::CaptureMarks& marks,
                               Canvas& canvas)
    : workspace_(workspace), marks_(marks), canvas_(canvas) {}

void PictureOverlay::SetCurvesShown(bool shown) {
    curvesShown_ = shown;
    Follow();
}

void PictureOverlay::Follow() {
    MarksInputs marks = CurrentMarksInputs();
    if (!drawnOnce_ || !(marks == drawnMarks_)) DrawMarks();
    CurvesInputs curves = CurrentCurvesInputs();
    if (!drawnOnce_ || !(curves == drawnCurves_)) {
        DrawCurves();
        drawnCurves_ = std::move(curves);
    }
    drawnOnce_ = true;
}

PictureOverlay::MarksInputs PictureOverlay::CurrentMarksInputs() const {
    MarksInputs inputs;
    for (int line = 1; line <= core::kMaxLines; ++line) {
        const auto i = static_cast<std::size_t>(line);
        inputs.pointText[i] = workspace_.data.pointText[i];
        inputs.marks[i] = marks_.Of(line);
    }
    inputs.calibration = workspace_.calibration;
    inputs.picture = canvas_.hasPicture() ? canvas_.picture().cacheKey() : 0;
    return inputs;
}

PictureOverlay::CurvesInputs PictureOverlay::CurrentCurvesInputs() const {
    CurvesInputs inputs;
    const core::AxisCalibration& cal = workspace_.calibration;
    if (!curvesShown_ || !workspace_.fitCurrent || !canvas_.hasPicture() ||
        !core::CalibrationUsable(cal))
        return inputs;
    for (const core::SectionCurve& section : FittedSections(workspace_)) {
        inputs.sections.push_back(section.form);
        inputs.sections.push_back(section.from);
        inputs.sections.push_back(section.to);
        inputs.sections.insert(inputs.sections.end(), section.c.begin(), section.c.end());
    }
    inputs.calibration = cal;
    inputs.picture = canvas_.picture().cacheKey();
    return inputs;
}

void PictureOverlay::DrawMarks() {
    const core::AxisCalibration& cal = workspace_.calibration;
    std::vector<Canvas::CaptureMark> marks;
    if (canvas_.hasPicture()) {
        for (const core::MarkPosition& at :
             core::MarkPositions(marks_, workspace_.data, cal, core::CalibrationUsable(cal))) {
            marks.push_back({QPointF(at.x, at.y), at.line, at.point});
        }
    }
    canvas_.SetCaptureMarks(marks);
    // The marks now follow the texts: what they were drawn from includes that.
    drawnMarks_ = CurrentMarksInputs();
}

void PictureOverlay::DrawCurves() {
    std::vector<QPolygonF> curves;
    const core::AxisCalibration& cal = workspace_.calibration;
    if (curvesShown_ && workspace_.fitCurrent && canvas_.hasPicture() &&
        core::CalibrationUsable(cal)) {
        std::vector<core::CurveSample> samples;
        for (const core::SectionCurve& section : FittedSections(workspace_)) {
            AddSectionCurves(cal, section, samples, curves);
        }
    }
    canvas_.SetFitOverlay(curves);
}

}  // namespace kx::ui
