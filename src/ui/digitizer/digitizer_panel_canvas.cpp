// The canvas reactions of the digitizer: presses that place calibration and
// mid points, sample values and capture points; the marks; the live display.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include <limits>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui/window/pointers.h"

namespace kx::ui {
namespace {

const QColor kCalibrationColour(128, 0, 0);
const QColor kMidColour(0, 128, 0);

double Whole(double v) {
    return static_cast<double>(core::RoundHalfEven(v));
}

int WholeInt(double v) {
    constexpr double limit = std::numeric_limits<int>::max();
    return static_cast<int>(core::RoundHalfEven(std::max(-limit, std::min(limit, v))));
}

QString PlotError(core::PlacementFault fault) {
    QString condition;
    switch (fault) {
        case core::PlacementFault::kXmaxNotRight: condition = "X1MAX! <> 0 And X1MAX! <= X"; break;
        case core::PlacementFault::kXminNotLeft: condition = "X1MIN! <> 0 And X1MIN! >= X"; break;
        case core::PlacementFault::kYmaxNotAbove: condition = "Y1MAX! <> 0 And Y1MAX! >= Y"; break;
        case core::PlacementFault::kYminNotBelow: condition = "Y1MIN! <> 0 And Y1MIN! <= Y"; break;
        case core::PlacementFault::kNone: break;
    }
    return QStringLiteral("<Plot Error>") + QString(23, QLatin1Char(' ')) + condition;
}

}  // namespace

QString DigitizerPanel::LineFullText() {
    return QStringLiteral("ﾃﾞｰﾀ数が100点を超えます");
}

void DigitizerPanel::SetPointers(const QCursor& cursor) {
    mainWindow_.setCursor(cursor);
    canvas_.setCursor(cursor);
    setCursor(cursor);
}

// --- presses --------------------------------------------------------------------

core::CanvasMode DigitizerPanel::CanvasMode() const {
    return core::CanvasModeOf(workspace_.calibration, state_.picks,
                              workspace_.data.captureMode == 1);
}

void DigitizerPanel::OnCanvasPressed(QPointF position) {
    core::AxisCalibration& cal = workspace_.calibration;
    state_.pressPlacedPoint = false;
    const double x = position.x();
    const double y = position.y();
    // A press happens where the pointer is, even without a move before it.
    mouseX_ = WholeInt(x);
    mouseY_ = WholeInt(y);
    // The sampling boxes take the values at the press. Taken from the live
    // boxes they could still hold canvas units, or a position up to a tick
    // old, when the press follows a change of the calibration or a quick move.
    if (!cal.calibrationInvalid && state_.samplingShown) ConvertIntoSamplingBoxes(x, y);
    canvas_.setCursor(CrossPointer());
    mainWindow_.setCursor(CrossPointer());

    const core::CanvasMode mode = CanvasMode();
    // The arrow keys move what this press places or captures, if anything.
    SetNudgeTarget(kNoNudge);
    bool posted = false;
    switch (mode) {
        case core::CanvasMode::kPlacingMidPoint:
            PlaceMidPoint(position);
            NoteMidPointPress(position);
            break;
        case core::CanvasMode::kMidPointArmed:
        case core::CanvasMode::kMidPointArmedCapturing: NoteMidPointPress(position); break;
        case core::CanvasMode::kPlacingPoint:
        case core::CanvasMode::kPlacingPointCapturing:
            NotePress(position);
            posted = !PlacePoint(state_.picks.pickMode, x, y);
            break;
        case core::CanvasMode::kIdle:
        case core::CanvasMode::kCapturing: NotePress(position); break;
        case core::CanvasMode::kTracing:
            NotePress(position);
            StartTrace(position);
            break;
    }
    if (core::PressCaptures(mode)) posted = Capture(x, y) || posted;
    // A press that is not one of a mid point ends the pick of a calibration point.
    if (!core::MidPointPress(mode)) state_.picks.pickMode = core::kPickNone;
    // The re-check draws the marks and curves again as the calibration now is.
    if (core::FirstNonPositiveLogValue(cal, ValueTexts()) == core::kPickNone) {
        RevalidateCalibration(posted);
    } else {
        FollowPictureData();
    }
    FollowWithLoupe(position);
}

void DigitizerPanel::NotePress(QPointF position) {
    // A confirmed calibration converts the press into the sampling boxes.
    if (!workspace_.calibration.calibrationConfirmed) return;
    state_.convertPosition = position;
    state_.conversionPending = true;
}

void DigitizerPanel::NoteMidPointPress(QPointF position) {
    const core::AxisCalibration& cal = workspace_.calibration;
    NotePress(position);
    if (cal.calibrationConfirmed && !cal.calibrationInvalid && !state_.samplingShown) {
        xLiveBox_->setText(QString::number(WholeInt(position.x())));
        yLiveBox_->setText(QString::number(WholeInt(position.y())));
    }
}

void DigitizerPanel::PlaceMidPoint(QPointF position) {
    core::AxisCalibration& cal = workspace_.calibration;
    // The mid point lies on its axis line.
    if (state_.picks.midPick == core::MidPick::kX) {
        cal.xMidPos = static_cast<float>(position.x());
        canvas_.DrawPointMark(Whole(position.x()), Whole(cal.Y1MIN), kMidColour);
        SetNudgeTarget(kNudgeMid, 0, 0, position);
    } else {
        cal.yMidPos = static_cast<float>(position.y());
        canvas_.DrawPointMark(Whole(cal.X1MIN), Whole(position.y()), kMidColour);
        SetNudgeTarget(kNudgeMid, 1, 0, position);
    }
    canvas_.SetFloatingLabel(QString());
}

bool DigitizerPanel::PlacePoint(core::PickMode mode, double x, double y) {
    core::AxisCalibration& cal = workspace_.calibration;
    const core::Placement placed = core::PlaceCalibrationPoint(cal, mode, x, y);
    if (placed.fault != core::PlacementFault::kNone) {
        ShowMessage(PlotError(placed.fault));
        // The pick mode ends with the press: no point is named for the next
        // one, and the box shows that none was placed.
        canvas_.SetFloatingLabel(QString());
        if (!PointPlaced(mode)) SetPointBoxQuietly(mode, false);
        return false;
    }
    if (placed.turnOnXminBox) SetPointBoxQuietly(core::kPickXmin, true);
    if (placed.turnOnYminBox) SetPointBoxQuietly(core::kPickYmin, true);
    if (mode == core::kPickXmin || mode == core::kPickYmin) {
        xLiveBox_->setText(QString::number(WholeInt(cal.X1MIN)));
        yLiveBox_->setText(QString::number(WholeInt(cal.Y1MIN)));
    }
    canvas_.DrawPointMark(placed.markX, placed.markY, kCalibrationColour);
    if (placed.drawXAxis)
        canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MAX, cal.Y1MIN, kCalibrationColour);
    if (placed.drawYAxis)
        canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MIN, cal.Y1MAX, kCalibrationColour);
    SetPointers(SquarePointer());
    canvas_.SetFloatingLabel(QString());
    // The value of the point is typed next: its box takes the keyboard and
    // the panel becomes the active window, also after the click ends.
    valueBox_[mode]->setFocus(Qt::OtherFocusReason);
    raise();
    activateWindow();
    state_.pressPlacedPoint = true;
    if (placed.drawXAxis) state_.xAxisDrawn = true;
    if (placed.drawYAxis) state_.yAxisDrawn = true;
    SetNudgeTarget(kNudgeCalibration, mode, 0, QPointF(x, y));
    return true;
}

std::optional<core::SampledPoint> DigitizerPanel::ConvertIntoSamplingBoxes(double x, double y) {
    auto sampled = core::SampleAt(workspace_.calibration, x, y);
    if (sampled) ShowSampledTexts(*sampled);
    return sampled;
}

void DigitizerPanel::ShowSampledTexts(const core::SampledPoint& sampled) {
    const QString xText = QString::fromStdString(sampled.xText);
    const QString yText = QString::fromStdString(sampled.yText);
    xSampleBox_->setText(xText);
    ySampleBox_->setText(yText);
    if (workspace_.data.captureMode == 1) emit liveValuesShown(xText, yText);
}

bool DigitizerPanel::Capture(double x, double y) {
    core::AxisCalibration& cal = workspace_.calibration;
    core::DataSet& ds = workspace_.data;
    const int boxes = CountPointBoxes();
    std::string xText;
    std::string yText;
    if (boxes == 4 && cal.calibrationConfirmed && state_.conversionPending) {
        state_.conversionPending = false;
        // A position the calibration cannot convert is not captured: the
        // sampling boxes would still hold the values of another position.
        const auto sampled = ConvertIntoSamplingBoxes(x, y);
        if (!sampled) {
            QApplication::beep();
            return false;
        }
        xText = core::Trimmed(sampled->xText);
        yText = core::Trimmed(sampled->yText);
    } else {
        if (boxes != 4) cal.calibrationInvalid = true;
        // Without a conversion the point is what the sampling boxes hold.
        xText = core::Trimmed(xSampleBox_->text().toStdString());
        yText = core::Trimmed(ySampleBox_->text().toStdString());
    }
    const int line = ds.captureLine;
    if (line < 1 || line > core::kMaxLines) return false;
    // A line holds at most 100 points; a point beyond them would never be
    // fitted. Not every desktop sounds the beep, so the refusal is written too,
    // here and in the DataSet window that stands over the panel.
    if (ds.pointCount[line] >= core::kMaxPoints) {
        QApplication::beep();
        ShowMessage(LineFullText());
        emit captureRefused(LineFullText());
        return true;
    }
    // A point without its values would break the line's text.
    if (xText.empty() || yText.empty()) {
        QApplication::beep();
        return false;
    }
    const core::LineState before = LineStateOf(line);
    core::AppendPoint(ds, line, xText, yText);
    RecordCapture(line, before, xText + "," + yText, QPointF(x, y));
    emit pointCaptured(line);
    return false;
}

// --- marks ----------------------------------------------------------------------

void DigitizerPanel::DrawCalibrationMarks(bool withMidPoints) {
    const core::AxisCalibration& cal = workspace_.calibration;
    canvas_.RestoreCanvasPicture();
    const bool xmin = pointBox_[1]->isChecked(), xmax = pointBox_[2]->isChecked();
    const bool ymin = pointBox_[3]->isChecked(), ymax = pointBox_[4]->isChecked();
    if (xmin && ymin) canvas_.DrawPointMark(cal.X1MIN, cal.Y1MIN, kCalibrationColour);
    if (xmax) canvas_.DrawPointMark(cal.X1MAX, cal.Y1MIN, kCalibrationColour);
    if (ymax) canvas_.DrawPointMark(cal.X1MIN, cal.Y1MAX, kCalibrationColour);
    const bool xLine = (xmin && xmax) || (xmax && ymax);
    const bool yLine = (ymin && ymax) || (xmax && ymax);
    if (xLine) canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MAX, cal.Y1MIN, kCalibrationColour);
    if (yLine) canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MIN, cal.Y1MAX, kCalibrationColour);
    state_.xAxisDrawn = xLine;
    state_.yAxisDrawn = yLine;
    if (withMidPoints) DrawMidMarks();
}

void DigitizerPanel::DrawMidMarks() {
    const core::AxisCalibration& cal = workspace_.calibration;
    if (midPointBox_[0]->isChecked()) canvas_.DrawPointMark(cal.xMidPos, cal.Y1MIN, kMidColour);
    if (midPointBox_[1]->isChecked()) canvas_.DrawPointMark(cal.X1MIN, cal.yMidPos, kMidColour);
}

void DigitizerPanel::RedrawCalibrationMarks() {
    mainWindow_.raise();
    mainWindow_.activateWindow();
    canvas_.SetFloatingLabel(QString());
    DrawCalibrationMarks(false);
    if (isEnabled()) {
        setCursor(SquarePointer());
        valueBox_[core::kPickXmax]->setFocus(Qt::OtherFocusReason);
    }
    if (mainWindow_.isEnabled()) mainWindow_.setCursor(SquarePointer());
}

void DigitizerPanel::RedrawMidMarks() {
    RedrawCalibrationMarks();
    DrawMidMarks();
}

// --- pointer moves, clicks, the live display ----------------------------------------

void DigitizerPanel::OnCanvasMoved(QPointF position) {
    if (!liveTimer_.isActive()) liveTimer_.start();
    hintBox_->hide();
    mouseX_ = WholeInt(position.x());
    mouseY_ = WholeInt(position.y());
    canvas_.setCursor(CrossPointer());
    if (!canvas_.floatingLabel().text().isEmpty()) canvas_.floatingLabel().show();
    FollowWithLoupe(position);
}

void DigitizerPanel::OnCanvasClicked() {
    if (!state_.pressPlacedPoint) mainWindow_.activateWindow();
    canvas_.setCursor(CrossPointer());
    hintBox_->hide();
    liveTimer_.start();
}

void DigitizerPanel::OnCanvasDoubleClicked() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (cal.calibrationConfirmed || CountPointBoxes() >= 4) return;
    mainWindow_.activateWindow();
    canvas_.setCursor(CrossPointer());
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    state_.xAxisDrawn = state_.yAxisDrawn = false;
    state_.picks.pickMode = core::kPickNone;
    canvas_.RestoreCanvasPicture();
    canvas_.SetFloatingLabel(QString());
}

void DigitizerPanel::UpdateLiveDisplay() {
    FollowMidCorrections();
    liveToggle_ = !liveToggle_;
    if (liveToggle_) {
        ShowLiveValues();
        canvas_.PlaceFloatingLabel(mouseX_, mouseY_);
    }
    core::AxisCalibration& cal = workspace_.calibration;
    if (CountPointBoxes() != 4) {
        cal.calibrationInvalid = true;
    } else if (cal.calibrationConfirmed && state_.conversionPending) {
        ConvertIntoSamplingBoxes(state_.convertPosition.x(), state_.convertPosition.y());
        state_.conversionPending = false;
    }
}

void DigitizerPanel::FollowMidCorrections() {
    core::AxisCalibration& cal = workspace_.calibration;
    // A correction is in force once its value is typed too.
    cal.xMidActive = cal.xMidArmed && !midValueBox_[0]->text().isEmpty();
    cal.yMidActive = cal.yMidArmed && !midValueBox_[1]->text().isEmpty();
    if (cal.xMidActive || cal.yMidActive) {
        cal.calibrationConfirmed = true;
        state_.conversionPending = true;
    }
    // A mid correction coming into use moves the curves drawn over the picture.
    FollowPictureData();
}

void DigitizerPanel::ShowLiveValues() {
    const core::AxisCalibration& cal = workspace_.calibration;
    if (cal.calibrationInvalid || !state_.samplingShown) {
        // Before the calibration is usable the live boxes show where the
        // pointer is in canvas units.
        xLiveBox_->setText(QString::number(mouseX_));
        yLiveBox_->setText(QString::number(mouseY_));
        return;
    }
    const auto sampled = core::SampleAt(cal, mouseX_, mouseY_);
    if (!sampled) return;
    const QString xText =
        QString::fromStdString(cal.logX ? sampled->xText : core::Trimmed(sampled->xText));
    const QString yText = QString::fromStdString(sampled->yText);
    xLiveBox_->setText(xText);
    yLiveBox_->setText(yText);
    if (workspace_.data.captureMode == 1) emit liveValuesShown(xText, yText);
    state_.convertPosition = QPointF(mouseX_, mouseY_);
    state_.conversionPending = false;
}

}  // namespace kx::ui
