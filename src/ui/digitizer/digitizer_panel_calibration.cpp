// The calibration controls of the digitizer panel: point boxes, value boxes,
// axis types, mid points, the confirmation and the silent re-check. The rules
// are the core's calibration checks; the panel turns their outcomes into its
// messages and the state of its controls.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui/window/controls.h"
#include "ui/window/pointers.h"

namespace kx::ui {
namespace {

const QString kBlanks23(23, QLatin1Char(' '));
const QString kUnsuitableCharacter = QStringLiteral("不適切な文字");
const QString kNotForLogAxis = QStringLiteral("対数座標には不適切");

double BoxValue(const QLineEdit* box) {
    return core::ValueOfText(box->text().toStdString());
}

// The message of "基本座標の確定" for an outcome (none for a log value that is
// not positive: its value box has already said so).
QString ConfirmationMessage(core::CalibrationOutcome outcome) {
    using O = core::CalibrationOutcome;
    switch (outcome) {
        case O::kNotSettled: return QStringLiteral("X / Y の Max / Min が未確定");
        case O::kValuesMissing: return QStringLiteral("Min,Max の数値が未確定");
        case O::kNotStorable: return kUnsuitableCharacter;
        case O::kXNotAscending: return QStringLiteral("Xmax <= Xmin ");
        case O::kYNotAscending: return QStringLiteral("Ymax <= Ymin ");
        case O::kUsable:
        case O::kLogValueNotPositive: break;
    }
    return QString();
}

}  // namespace

core::AxisValueTexts DigitizerPanel::ValueTexts() const {
    core::AxisValueTexts texts;
    for (int box = 1; box <= 4; ++box) texts[box] = valueBox_[box]->text().toStdString();
    return texts;
}

float& DigitizerPanel::AxisValue(int box) {
    core::AxisCalibration& cal = workspace_.calibration;
    switch (box) {
        case core::kPickXmin: return cal.Xmin;
        case core::kPickXmax: return cal.Xmax;
        case core::kPickYmin: return cal.Ymin;
        default: return cal.Ymax;
    }
}

// --- point boxes ----------------------------------------------------------------

bool DigitizerPanel::PointPlaced(int box) const {
    const core::AxisCalibration& cal = workspace_.calibration;
    switch (box) {
        case core::kPickXmin: return cal.originXSet;
        case core::kPickXmax: return cal.xMaxSet;
        case core::kPickYmin: return cal.originYSet;
        default: return cal.yMaxSet;
    }
}

int DigitizerPanel::CountPointBoxes() const {
    int count = 0;
    for (int box = 1; box <= 4; ++box) count += pointBox_[box]->isChecked() ? 1 : 0;
    return count;
}

void DigitizerPanel::SetPointBoxQuietly(int box, bool on) {
    const QSignalBlocker quiet(pointBox_[box]);
    pointBox_[box]->setChecked(on);
}

void DigitizerPanel::OnPointBox(int box, bool checked) {
    if (!checked) {
        TurnPointBoxOff(box);
        return;
    }
    if (box != core::kPickXmin) {
        for (int other = 1; other <= 4; ++other) {
            // Xmin and Ymin are one point: the other origin box stays.
            const bool partner = (box == core::kPickYmin && other == core::kPickXmin) ||
                                 (box == core::kPickXmin && other == core::kPickYmin);
            if (other != box && pointBox_[other]->isChecked() && !PointPlaced(other)) {
                TurnPointBoxOff(other, !partner);
            }
        }
    }
    constexpr const char* kNames[] = {"", "Xmin", "Xmax", "Ymin", "Ymax"};
    state_.picks.pickMode = static_cast<core::PickMode>(box);
    canvas_.SetFloatingLabel(QString::fromLatin1(kNames[box]));
    setCursor(ArrowPointer());
    canvas_.setCursor(CrossPointer());
    state_.pointBoxUsed = true;
}

void DigitizerPanel::PointBoxLeft(int box, Qt::FocusReason reason) {
    // Only a move of the focus inside the panel counts; clicking the picture
    // in the main window is how the point gets placed.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (pointBox_[box]->isChecked() && !PointPlaced(box)) TurnPointBoxOff(box);
}

void DigitizerPanel::TurnPointBoxOff(int box, bool withPartner) {
    const bool origin = box == core::kPickXmin || box == core::kPickYmin;
    if (origin && pointBox_[core::kPickXmax]->isChecked() &&
        pointBox_[core::kPickYmax]->isChecked()) {
        // Both axis ends stand on the origin's lines: it cannot go alone.
        SetPointBoxQuietly(box, true);
        return;
    }
    core::AxisCalibration& cal = workspace_.calibration;
    SetPointBoxQuietly(box, false);
    DisarmMidPoints();
    for (QCheckBox* mid : midPointBox_) {
        mid->setChecked(false);
        mid->setEnabled(false);
    }
    confirmButton_->setEnabled(true);
    captureButton_->setEnabled(false);
    canvas_.SetFloatingLabel(QString());
    state_.picks.pickMode = core::kPickNone;
    state_.autoConfirmDone = false;
    core::ClearCalibrationPoint(cal, static_cast<core::PickMode>(box));
    if (box == core::kPickXmax) {
        ShowSamplingBoxes(false);
        state_.xAxisDrawn = false;
    }
    if (box == core::kPickYmax) state_.yAxisDrawn = false;
    if (origin && withPartner) {
        SetPointBoxQuietly(box == core::kPickXmin ? core::kPickYmin : core::kPickXmin, false);
    }
    FailCalibration();
    if (state_.loadMode == 0) RedrawCalibrationMarks();
}

// --- value boxes ----------------------------------------------------------------

void DigitizerPanel::CheckValueText(int box) {
    const core::AxisCalibration& cal = workspace_.calibration;
    const std::string text = valueBox_[box]->text().toStdString();
    const bool logAxis = box <= core::kPickXmax ? cal.logX : cal.logY;
    bool posted = false;
    switch (core::CheckAxisValueText(text, logAxis)) {
        case core::ValueTextCheck::kNotStorable:
            // Beyond what a stored value can hold: not a usable number.
            ShowMessage(kUnsuitableCharacter);
            posted = true;
            break;
        case core::ValueTextCheck::kStorable:
            if (pointBox_[box]->isChecked()) {
                AxisValue(box) = static_cast<float>(core::ValueOfText(text));
            }
            hintBox_->hide();
            if (!state_.helpShown) HideMessage();
            break;
        case core::ValueTextCheck::kNotPositiveOnLog:
            ShowMessage(kNotForLogAxis);
            confirmButton_->setEnabled(true);
            captureButton_->setEnabled(false);
            posted = true;
            break;
    }
    if (!text.empty() && !core::HasOnlyAxisValueChars(text)) {
        ShowMessage(kUnsuitableCharacter);
        posted = true;
    }
    RevalidateCalibration(posted);
}

void DigitizerPanel::StoreAxisValue(int box) {
    const double value = BoxValue(valueBox_[box]);
    if (core::FitsSingle(value)) AxisValue(box) = static_cast<float>(value);
    FollowPictureData();
}

void DigitizerPanel::StoreMidValue(int axis) {
    const double value = BoxValue(midValueBox_[axis]);
    if (!core::FitsSingle(value)) return;
    (axis == 0 ? workspace_.calibration.Xmid : workspace_.calibration.Ymid) =
        static_cast<float>(value);
    FollowPictureData();
}

// --- axis types and mid points ------------------------------------------------------

void DigitizerPanel::SelectAxisType(int axis, bool logarithmic) {
    core::AxisCalibration& cal = workspace_.calibration;
    bool posted = false;
    if (logarithmic && CountPointBoxes() > 0) {
        const bool positive =
            axis == 0 ? cal.Xmin > 0 && cal.Xmax > 0 : cal.Ymax > 0 && cal.Ymin > 0;
        if (!positive) {
            linearOption_[axis]->setChecked(true);
            ShowMessage(QStringLiteral("<Select Error>") + kBlanks23 +
                        (axis == 0 ? QStringLiteral("Ｘmax<= 0 Or Ｘmin<= 0")
                                   : QStringLiteral("Ｙmax<= 0 Or Ｙmin<= 0")));
            posted = true;
            logarithmic = false;
        }
    }
    (axis == 0 ? cal.logX : cal.logY) = logarithmic;
    RevalidateCalibration(posted);
}

void DigitizerPanel::DisarmMidPoints() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (!cal.xMidArmed && !cal.yMidArmed) return;
    cal.xMidArmed = cal.yMidArmed = false;
    state_.picks.midPick = core::MidPick::kNone;
    cal.xMidPos = cal.yMidPos = 0;
}

void DigitizerPanel::OnMidPointBox(int axis) {
    core::AxisCalibration& cal = workspace_.calibration;
    bool& armed = axis == 0 ? cal.xMidArmed : cal.yMidArmed;
    const bool logAxis = axis == 0 ? cal.logX : cal.logY;
    QCheckBox* box = midPointBox_[axis];
    if (armed) {
        armed = false;
        state_.picks.midPick = core::MidPick::kNone;
        (axis == 0 ? cal.xMidPos : cal.yMidPos) = 0;
        canvas_.SetFloatingLabel(QString());
        box->setChecked(false);
        RedrawMidMarks();
        return;
    }
    // A mid value of 0 has no logarithm either; an empty box may still be
    // filled in after the point is placed.
    const QLineEdit* value = midValueBox_[axis];
    if (logAxis && !value->text().trimmed().isEmpty() && BoxValue(value) <= 0) {
        ShowMessage(QStringLiteral("対数座標は不可"));
        box->setChecked(false);
        return;
    }
    box->setChecked(true);
    armed = true;
    // The next press places this mid point (and is not captured).
    state_.picks.midPick = axis == 0 ? core::MidPick::kX : core::MidPick::kY;
    StoreMidValue(axis);
    canvas_.SetFloatingLabel(axis == 0 ? QStringLiteral("Xmid") : QStringLiteral("Ymid"));
    canvas_.setCursor(CrossPointer());
}

void DigitizerPanel::SwitchDisplayForm() {
    core::AxisCalibration& cal = workspace_.calibration;
    cal.exponentDisplay = exponentBox_->isChecked();
    // A box that holds no number (empty, or typed over) keeps its text.
    for (QLineEdit* box : {xSampleBox_, ySampleBox_}) {
        const std::string text = core::Trimmed(box->text().toStdString());
        if (text.empty() || !core::IsNumericText(text) ||
            !core::FitsSingle(core::ValueOfText(text)))
            continue;
        box->setText(QString::fromStdString(
            core::AxisValueText(core::ValueOfText(text), cal.exponentDisplay)));
    }
    if (workspace_.data.captureMode == 1) {
        emit liveValuesShown(xSampleBox_->text(), ySampleBox_->text());
    }
}

// --- confirmation ------------------------------------------------------------------

void DigitizerPanel::ShowSamplingBoxes(bool shown) {
    xSampleBox_->setVisible(shown);
    ySampleBox_->setVisible(shown);
    state_.samplingShown = shown;
    if (shown) {
        SetBackground(xSampleBox_, QColor(251, 255, 217));
        SetBackground(ySampleBox_, QColor(246, 255, 217));
    }
}

void DigitizerPanel::EnableMidControls(bool enabled) {
    for (int axis = 0; axis < 2; ++axis) {
        midPointBox_[axis]->setEnabled(enabled);
        midValueBox_[axis]->setEnabled(enabled);
    }
}

void DigitizerPanel::FailCalibration() {
    core::AxisCalibration& cal = workspace_.calibration;
    cal.calibrationInvalid = true;
    cal.calibrationConfirmed = false;
    confirmButton_->setEnabled(true);
    captureButton_->setEnabled(false);
    ShowSamplingBoxes(false);
    for (QCheckBox* mid : midPointBox_) mid->setEnabled(false);
    FollowPictureData();
}

void DigitizerPanel::ConfirmCalibration() {
    using O = core::CalibrationOutcome;
    const O outcome = core::ConfirmCalibration(workspace_.calibration, state_.setup, ValueTexts(),
                                               CountPointBoxes());
    if (outcome == O::kLogValueNotPositive) {
        FailCalibration();
        return;
    }
    // The texts of the boxes turn blue once the four points stand.
    const QColor colour = outcome == O::kNotSettled ? QColor(Qt::black) : QColor(0, 0, 255);
    for (QLineEdit* box :
         {xLiveBox_, yLiveBox_, valueBox_[1], valueBox_[2], valueBox_[3], valueBox_[4]}) {
        SetTextColour(box, colour);
    }
    if (outcome == O::kValuesMissing) {
        // Invalid, but not the other effects of a failure.
        ShowMessage(ConfirmationMessage(outcome));
        confirmButton_->setEnabled(true);
        return;
    }
    if (outcome != O::kUsable) {
        ShowMessage(ConfirmationMessage(outcome));
        FailCalibration();
        return;
    }
    ShowSamplingBoxes(true);
    EnableMidControls(true);
    confirmButton_->setEnabled(false);
    captureButton_->setEnabled(true);
    HideMessage();
    state_.readyAnnounced = true;
    QApplication::beep();
    messageTimer_.start();
    FollowPictureData();
}

void DigitizerPanel::RevalidateCalibration(bool messagePosted) {
    using O = core::CalibrationOutcome;
    core::AxisCalibration& cal = workspace_.calibration;
    const bool wasUsable = cal.calibrationConfirmed && !cal.calibrationInvalid;
    const O outcome =
        core::RevalidateCalibration(cal, state_.setup, ValueTexts(), CountPointBoxes());
    if (outcome == O::kLogValueNotPositive) ShowMessage(kNotForLogAxis);
    if (outcome != O::kUsable) {
        FailCalibration();
        return;
    }
    confirmButton_->setEnabled(false);
    captureButton_->setEnabled(true);
    ShowSamplingBoxes(true);
    if (!messagePosted && !state_.helpShown) HideMessage();
    EnableMidControls(true);
    // Sounded when the calibration becomes usable, not on every later press.
    if (!wasUsable) QApplication::beep();
    FollowPictureData();
}

// --- hover checks ---------------------------------------------------------------------

void DigitizerPanel::HoverBasicFrame() {
    core::AxisCalibration& cal = workspace_.calibration;
    const core::AxisValueTexts texts = ValueTexts();
    if (!core::TestFrameReady(cal, state_.setup, texts, CountPointBoxes()) ||
        state_.autoConfirmDone || !state_.xAxisDrawn || !state_.yAxisDrawn)
        return;
    if (CountPointBoxes() != 4) ConfirmCalibration();
    const bool complete = core::SetupComplete(texts);
    confirmButton_->setEnabled(!complete);
    captureButton_->setEnabled(complete && !cal.calibrationInvalid);
    ShowSamplingBoxes(complete);
    state_.autoConfirmDone = true;
}

void DigitizerPanel::HoverSettingsFrame() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (!core::TestFrameReady(cal, state_.setup, ValueTexts(), CountPointBoxes()) ||
        state_.autoConfirmDone || !state_.xAxisDrawn || !state_.yAxisDrawn ||
        cal.calibrationInvalid) {
        return;
    }
    ConfirmCalibration();
    confirmButton_->setEnabled(false);
    captureButton_->setEnabled(!cal.calibrationInvalid);
    state_.autoConfirmDone = true;
}

void DigitizerPanel::HoverConfirmButton() {
    if (state_.readyAnnounced ||
        !core::ReadyToAnnounce(workspace_.calibration, ValueTexts(), CountPointBoxes())) {
        return;
    }
    ShowHint(QStringLiteral("基本ﾃﾞｰﾀ入力完了(自由修正可)"), 570, 1470, 1455, 390);
}

}  // namespace kx::ui
