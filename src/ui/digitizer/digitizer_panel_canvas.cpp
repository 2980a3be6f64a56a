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
const QString kLineFull = QStringLiteral("ﾃﾞｰﾀ数が100点を超えます");
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

void DigitizerPanel::SetPointers(const QCursor& cursor) {
    mainWindow_.setCursor(cursor);
    canvas_.setCursor(cursor);
    setCursor(cursor);
}

// --- presses --------------------------------------------------------------------

void DigitizerPanel::OnCanvasPressed(QPointF position) {
    core::AxisCalibration& cal = workspace_.calibration;
    pointJustPlaced_ = false;
    const double x = position.x();
    const double y = position.y();
    // A press happens where the pointer is, even without a move before it.
    mouseX_ = WholeInt(x);
    mouseY_ = WholeInt(y);
    // The sampling boxes take the values at the press. Taken from the live
    // boxes they could still hold canvas units, or a position up to a tick
    // old, when the press follows a change of the calibration or a quick move.
    if (cal.calibrationInvalid == 0 && cal.samplingShown != 0) ConvertIntoSamplingBoxes(x, y);
    canvas_.setCursor(CrossPointer());
    mainWindow_.setCursor(CrossPointer());

    const bool capture = workspace_.data.captureMode == 1;
    bool posted = false;
    // The arrow keys move what this press places or captures, if anything.
    SetNudgeTarget(kNoNudge);
    if (cal.xMidArmed != 0 || cal.yMidArmed != 0) {
        if (cal.xMidPos == 0 && cal.midPick == 1) {
            cal.xMidPos = static_cast<float>(x);
            canvas_.DrawPointMark(Whole(x), Whole(cal.Y1MIN), kMidColour);
            canvas_.SetFloatingLabel(QString());
            SetNudgeTarget(kNudgeMid, 0, 0, position);
        }
        if (cal.yMidPos == 0 && cal.midPick == 2) {
            cal.yMidPos = static_cast<float>(y);
            canvas_.DrawPointMark(Whole(cal.X1MIN), Whole(y), kMidColour);
            canvas_.SetFloatingLabel(QString());
            SetNudgeTarget(kNudgeMid, 1, 0, position);
        }
        if (cal.calibrationConfirmed != 0) {
            convertPosition_ = position;
            cal.conversionPending = 1;
            if (cal.calibrationInvalid == 0 && cal.samplingShown == 0) {
                xLiveBox_->setText(QString::number(WholeInt(x)));
                yLiveBox_->setText(QString::number(WholeInt(y)));
            }
        }
        if (capture && skipCapture_ == 0) posted = Capture(x, y);
        skipCapture_ = 0;
    } else {
        if (cal.calibrationConfirmed != 0) {
            convertPosition_ = position;
            cal.conversionPending = 1;
        }
        if (pickMode_ != core::kPickNone) posted = !PlacePoint(pickMode_, x, y);
        if (capture && skipCapture_ == 0) posted = Capture(x, y) || posted;
        skipCapture_ = 0;
        pickMode_ = core::kPickNone;
    }
    // The re-check draws the marks and curves again as the calibration now is.
    if (core::FirstNonPositiveLogValue(cal, ValueTexts()) == core::kPickNone) {
        RevalidateCalibration(posted);
    } else {
        RefreshPictureData();
    }
    FollowWithLoupe(position);
}

bool DigitizerPanel::PlacePoint(core::PickMode mode, double x, double y) {
    core::AxisCalibration& cal = workspace_.calibration;
    const core::Placement placed = core::PlaceCalibrationPoint(cal, mode, x, y);
    if (placed.fault != core::PlacementFault::kNone) {
        ShowMessage(PlotError(placed.fault));
        // The pick mode ends with the press: no point is named for the next one.
        canvas_.SetFloatingLabel(QString());
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
    pointJustPlaced_ = true;
    SetNudgeTarget(kNudgeCalibration, mode, 0, QPointF(x, y));
    return true;
}

bool DigitizerPanel::ConvertIntoSamplingBoxes(double x, double y) {
    const core::AxisCalibration& cal = workspace_.calibration;
    const auto value = core::CanvasToValue(cal, x, y);
    if (!value) return false;
    const bool exponent = cal.exponentDisplay != 0;
    const QString xText = QString::fromStdString(core::AxisValueText(value->x, exponent));
    const QString yText = QString::fromStdString(core::AxisValueText(value->y, exponent));
    xSampleBox_->setText(xText);
    ySampleBox_->setText(yText);
    if (workspace_.data.captureMode == 1) emit liveValuesShown(xText, yText);
    return true;
}

bool DigitizerPanel::Capture(double x, double y) {
    core::AxisCalibration& cal = workspace_.calibration;
    core::DataSet& ds = workspace_.data;
    cal.pointBoxCount = static_cast<int16_t>(CountPointBoxes());
    if (cal.pointBoxCount == 4 && cal.calibrationConfirmed != 0 && cal.conversionPending != 0) {
        cal.conversionPending = 0;
        // A position the calibration cannot convert is not captured: the
        // sampling boxes would still hold the values of another position.
        if (!ConvertIntoSamplingBoxes(x, y)) {
            QApplication::beep();
            return false;
        }
    } else if (cal.pointBoxCount != 4) {
        cal.calibrationInvalid = 1;
    }
    const int line = ds.captureLine;
    if (line < 1 || line > core::kMaxLines) return false;
    // A line holds at most 100 points; a point beyond them would never be
    // fitted. Not every desktop sounds the beep, so the refusal is written too,
    // here and in the DataSet window that stands over the panel.
    if (ds.pointCount[line] >= core::kMaxPoints) {
        QApplication::beep();
        ShowMessage(kLineFull);
        emit captureRefused(kLineFull);
        return true;
    }
    // A point without its values would break the line's text.
    const std::string xText = core::Trimmed(xSampleBox_->text().toStdString());
    const std::string yText = core::Trimmed(ySampleBox_->text().toStdString());
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
    core::AxisCalibration& cal = workspace_.calibration;
    canvas_.RestoreCanvasPicture();
    cal.xAxisDrawn = cal.yAxisDrawn = 0;
    const bool xmin = pointBox_[1]->isChecked(), xmax = pointBox_[2]->isChecked();
    const bool ymin = pointBox_[3]->isChecked(), ymax = pointBox_[4]->isChecked();
    if (xmin && ymin) canvas_.DrawPointMark(cal.X1MIN, cal.Y1MIN, kCalibrationColour);
    if (xmax) canvas_.DrawPointMark(cal.X1MAX, cal.Y1MIN, kCalibrationColour);
    if (ymax) canvas_.DrawPointMark(cal.X1MIN, cal.Y1MAX, kCalibrationColour);
    const bool xLine = (xmin && xmax) || (xmax && ymax);
    const bool yLine = (ymin && ymax) || (xmax && ymax);
    if (xLine) {
        canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MAX, cal.Y1MIN, kCalibrationColour);
        cal.xAxisDrawn = 1;
    }
    if (yLine) {
        canvas_.DrawLine(cal.X1MIN, cal.Y1MIN, cal.X1MIN, cal.Y1MAX, kCalibrationColour);
        cal.yAxisDrawn = 1;
    }
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
    if (!pointJustPlaced_) mainWindow_.activateWindow();
    canvas_.setCursor(CrossPointer());
    hintBox_->hide();
    liveTimer_.start();
}

void DigitizerPanel::OnCanvasDoubleClicked() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (cal.calibrationConfirmed != 0 || CountPointBoxes() >= 4) return;
    mainWindow_.activateWindow();
    canvas_.setCursor(CrossPointer());
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    cal.xAxisDrawn = cal.yAxisDrawn = 0;
    pickMode_ = core::kPickNone;
    canvas_.RestoreCanvasPicture();
    canvas_.SetFloatingLabel(QString());
}

void DigitizerPanel::UpdateLiveDisplay() {
    core::AxisCalibration& cal = workspace_.calibration;
    const core::DataSet& ds = workspace_.data;
    cal.xMidActive = cal.xMidArmed != 0 && !midValueBox_[0]->text().isEmpty() ? 1 : 0;
    cal.yMidActive = cal.yMidArmed != 0 && !midValueBox_[1]->text().isEmpty() ? 1 : 0;
    if (cal.xMidActive != 0 || cal.yMidActive != 0) {
        cal.calibrationConfirmed = 1;
        cal.conversionPending = 1;
    }
    // A mid correction coming into use moves the curves drawn over the picture.
    if (cal.xMidActive + 2 * cal.yMidActive != midActiveSeen_) RefreshPictureData();

    liveToggle_ = !liveToggle_;
    if (liveToggle_) {
        bool converted = false;
        if (cal.calibrationInvalid == 0 && cal.samplingShown != 0) {
            if (const auto value = core::CanvasToValue(cal, mouseX_, mouseY_)) {
                const bool exponent = cal.exponentDisplay != 0;
                std::string xText = core::AxisValueText(value->x, exponent);
                if (cal.logX == 0) xText = core::Trimmed(xText);
                const QString yText =
                    QString::fromStdString(core::AxisValueText(value->y, exponent));
                xLiveBox_->setText(QString::fromStdString(xText));
                yLiveBox_->setText(yText);
                if (ds.captureMode == 1) emit liveValuesShown(xLiveBox_->text(), yText);
                convertPosition_ = QPointF(mouseX_, mouseY_);
                cal.conversionPending = 0;
            }
            converted = true;
        }
        if (!converted) {
            // Before the calibration is usable the live boxes show where the
            // pointer is in canvas units.
            xLiveBox_->setText(QString::number(mouseX_));
            yLiveBox_->setText(QString::number(mouseY_));
        }
        canvas_.PlaceFloatingLabel(mouseX_, mouseY_);
    }

    cal.pointBoxCount = static_cast<int16_t>(CountPointBoxes());
    if (cal.pointBoxCount != 4) {
        cal.calibrationInvalid = 1;
    } else if (cal.calibrationConfirmed != 0 && cal.conversionPending != 0) {
        ConvertIntoSamplingBoxes(convertPosition_.x(), convertPosition_.y());
        cal.conversionPending = 0;
    }
}

}  // namespace kx::ui
