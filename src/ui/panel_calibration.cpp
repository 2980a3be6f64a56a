// The calibration controls of the digitizer panel: point boxes, value boxes,
// axis types, mid points, the confirmation and the silent re-check.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextEdit>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/digitizer/axis_calibration.h"
#include "ui/canvas.h"
#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/main_window.h"
#include "ui/pointers.h"

namespace kx::ui {
namespace {

const QString kBlanks23(23, QLatin1Char(' '));

double BoxValue(const QLineEdit* box) {
    return core::ValueOfText(box->text().toStdString());
}

bool BoxEmpty(const QLineEdit* box) {
    return box->text().trimmed().isEmpty();
}

void SetTextColour(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, colour);
    box->setPalette(palette);
}

void SetBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

}  // namespace

float& DigitizerPanel::AxisValue(int box) {
    core::AxisCalibration& cal = workspace_.calibration;
    switch (box) {
        case 1: return cal.Xmin;
        case 2: return cal.Xmax;
        case 3: return cal.Ymin;
        default: return cal.Ymax;
    }
}

// --- point boxes ----------------------------------------------------------------

bool DigitizerPanel::PointPlaced(int box) const {
    const core::AxisCalibration& cal = workspace_.calibration;
    switch (box) {
        case 1: return cal.originXSet != 0;
        case 2: return cal.xMaxSet != 0;
        case 3: return cal.originYSet != 0;
        default: return cal.yMaxSet != 0;
    }
}

int DigitizerPanel::CountPointBoxes() const {
    int count = 0;
    for (int box = 1; box <= 4; ++box) count += check_[box]->isChecked() ? 1 : 0;
    return count;
}

void DigitizerPanel::SetPointBoxQuietly(int box, bool on) {
    const QSignalBlocker blocker(check_[box]);
    check_[box]->setChecked(on);
}

void DigitizerPanel::OnPointBox(int box, bool checked) {
    if (!checked) {
        TurnPointBoxOff(box);
        return;
    }
    if (box != core::kPickXmin) {
        for (int other = 1; other <= 4; ++other) {
            // Xmin and Ymin are one point: the other origin box stays.
            const bool partner = (box == 3 && other == 1) || (box == 1 && other == 3);
            if (other != box && check_[other]->isChecked() && !PointPlaced(other)) {
                TurnPointBoxOff(other, !partner);
            }
        }
    }
    constexpr const char* kNames[] = {"", "Xmin", "Xmax", "Ymin", "Ymax"};
    pickMode_ = static_cast<core::PickMode>(box);
    canvas_.SetFloatingLabel(QString::fromLatin1(kNames[box]));
    setCursor(ArrowPointer());
    canvas_.setCursor(CrossPointer());
    pointBoxUsed_ = true;
}

void DigitizerPanel::TurnPointBoxOff(int box, bool withPartner) {
    const bool origin = box == core::kPickXmin || box == core::kPickYmin;
    if (origin && check_[2]->isChecked() && check_[4]->isChecked()) {
        // Both axis ends stand on the origin's lines: it cannot go alone.
        SetPointBoxQuietly(box, true);
        return;
    }
    core::AxisCalibration& cal = workspace_.calibration;
    SetPointBoxQuietly(box, false);
    DisarmMidPoints();
    for (QCheckBox* mid : midBox_) {
        mid->setChecked(false);
        mid->setEnabled(false);
    }
    command4_->setEnabled(true);
    command5_->setEnabled(false);
    canvas_.SetFloatingLabel(QString());
    pickMode_ = core::kPickNone;
    autoConfirmDone_ = 0;
    core::ClearCalibrationPoint(cal, static_cast<core::PickMode>(box));
    if (box == core::kPickXmax) ShowSamplingBoxes(false);
    if (origin && withPartner) SetPointBoxQuietly(box == 1 ? 3 : 1, false);
    FailCalibration();
    if (loadMode_ == 0) RedrawCalibrationMarks();
}

// --- value boxes ----------------------------------------------------------------

void DigitizerPanel::CheckValueText(int box) {
    core::AxisCalibration& cal = workspace_.calibration;
    messagePostedNow_ = false;
    const QString text = valueBox_[box]->text();
    const double value = core::ValueOfText(text.toStdString());
    const bool logAxis = (box <= 2 ? cal.logX : cal.logY) != 0;
    if (!core::FitsSingle(value)) {
        // Beyond what a stored value can hold: not a usable number.
        ShowMessage(QStringLiteral("不適切な文字"));
    } else if (value > 0 || !logAxis) {
        if (check_[box]->isChecked()) AxisValue(box) = static_cast<float>(value);
        text12_->hide();
        if (helpShown_ == 0) HideMessage();
    } else {
        ShowMessage(QStringLiteral("対数座標には不適切"));
        command4_->setEnabled(true);
        command5_->setEnabled(false);
    }
    if (!text.isEmpty() && !core::HasOnlyAxisValueChars(text.toStdString())) {
        ShowMessage(QStringLiteral("不適切な文字"));
    }
    RevalidateCalibration();
    messagePostedNow_ = false;
}

void DigitizerPanel::StoreAxisValue(int box) {
    const double value = BoxValue(valueBox_[box]);
    if (core::FitsSingle(value)) AxisValue(box) = static_cast<float>(value);
}

void DigitizerPanel::StoreMidValue(int axis) {
    const double value = BoxValue(midText_[axis]);
    if (!core::FitsSingle(value)) return;
    (axis == 0 ? workspace_.calibration.Xmid : workspace_.calibration.Ymid) =
        static_cast<float>(value);
}

bool DigitizerPanel::AnyNonPositiveLogValue() const {
    const core::AxisCalibration& cal = workspace_.calibration;
    for (int box = 1; box <= 4; ++box) {
        const bool logAxis = (box <= 2 ? cal.logX : cal.logY) != 0;
        if (logAxis && BoxValue(valueBox_[box]) <= 0) return true;
    }
    return false;
}

// --- axis types and mid points ------------------------------------------------------

void DigitizerPanel::SelectAxisType(int axis, bool logarithmic) {
    core::AxisCalibration& cal = workspace_.calibration;
    messagePostedNow_ = false;
    if (logarithmic && CountPointBoxes() > 0) {
        const bool positive =
            axis == 0 ? cal.Xmin > 0 && cal.Xmax > 0 : cal.Ymax > 0 && cal.Ymin > 0;
        if (!positive) {
            option2_[axis]->setChecked(true);
            ShowMessage(QStringLiteral("<Select Error>") + kBlanks23 +
                        (axis == 0 ? QStringLiteral("Ｘmax<= 0 Or Ｘmin<= 0")
                                   : QStringLiteral("Ｙmax<= 0 Or Ｙmin<= 0")));
            logarithmic = false;
        }
    }
    (axis == 0 ? cal.logX : cal.logY) = logarithmic ? 1 : 0;
    RevalidateCalibration();
    messagePostedNow_ = false;
}

void DigitizerPanel::DisarmMidPoints() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (cal.xMidArmed == 0 && cal.yMidArmed == 0) return;
    cal.xMidArmed = cal.yMidArmed = 0;
    cal.midPick = 0;
    cal.xMidPos = cal.yMidPos = 0;
}

void DigitizerPanel::OnMidPointBox(int axis) {
    core::AxisCalibration& cal = workspace_.calibration;
    int16_t& armed = axis == 0 ? cal.xMidArmed : cal.yMidArmed;
    const bool logAxis = (axis == 0 ? cal.logX : cal.logY) != 0;
    if (armed != 0) {
        armed = 0;
        cal.midPick = 0;
        (axis == 0 ? cal.xMidPos : cal.yMidPos) = 0;
        canvas_.SetFloatingLabel(QString());
        midBox_[axis]->setChecked(false);
        RedrawMidMarks();
        return;
    }
    // A mid value of 0 has no logarithm either; an empty box may still be
    // filled in after the point is placed.
    if (logAxis && !BoxEmpty(midText_[axis]) && BoxValue(midText_[axis]) <= 0) {
        ShowMessage(QStringLiteral("対数座標は不可"));
        midBox_[axis]->setChecked(false);
        return;
    }
    midBox_[axis]->setChecked(true);
    armed = 1;
    cal.midPick = static_cast<int16_t>(axis + 1);
    StoreMidValue(axis);
    canvas_.SetFloatingLabel(axis == 0 ? QStringLiteral("Xmid") : QStringLiteral("Ymid"));
    canvas_.setCursor(CrossPointer());
    skipCapture_ = 1;
}

void DigitizerPanel::SwitchDisplayForm() {
    core::AxisCalibration& cal = workspace_.calibration;
    cal.exponentDisplay = check5_->isChecked() ? 1 : 0;
    // A box that holds no number (empty, or typed over) keeps its text.
    for (QLineEdit* box : {text8_, text9_}) {
        const std::string text = core::Trimmed(box->text().toStdString());
        if (text.empty() || !core::IsNumericText(text) ||
            !core::FitsSingle(core::ValueOfText(text)))
            continue;
        box->setText(QString::fromStdString(
            core::AxisValueText(core::ValueOfText(text), cal.exponentDisplay != 0)));
    }
    if (workspace_.data.captureMode == 1) dataSet_->SetLiveValues(text8_->text(), text9_->text());
}

// --- confirmation ------------------------------------------------------------------

void DigitizerPanel::ShowSamplingBoxes(bool shown) {
    text8_->setVisible(shown);
    text9_->setVisible(shown);
    workspace_.calibration.samplingShown = shown ? 1 : 0;
    if (shown) {
        SetBackground(text8_, QColor(251, 255, 217));
        SetBackground(text9_, QColor(246, 255, 217));
    }
}

void DigitizerPanel::EnableMidControls(bool enabled) {
    for (int axis = 0; axis < 2; ++axis) {
        midBox_[axis]->setEnabled(enabled);
        midText_[axis]->setEnabled(enabled);
    }
}

void DigitizerPanel::FailCalibration() {
    core::AxisCalibration& cal = workspace_.calibration;
    cal.calibrationInvalid = 1;
    command4_->setEnabled(true);
    command5_->setEnabled(false);
    ShowSamplingBoxes(false);
    for (QCheckBox* mid : midBox_) mid->setEnabled(false);
    cal.calibrationConfirmed = 0;
}

void DigitizerPanel::ConfirmCalibration() {
    core::AxisCalibration& cal = workspace_.calibration;
    const double xmin = BoxValue(valueBox_[1]), xmax = BoxValue(valueBox_[2]);
    const double ymin = BoxValue(valueBox_[3]), ymax = BoxValue(valueBox_[4]);
    if ((cal.logX != 0 && (xmin <= 0 || xmax <= 0)) ||
        (cal.logY != 0 && (ymin <= 0 || ymax <= 0))) {
        FailCalibration();
        return;
    }
    cal.calibrationConfirmed = 1;
    cal.calibrationInvalid = 0;
    cal.pointBoxCount = static_cast<int16_t>(CountPointBoxes());
    QLineEdit* shownBoxes[] = {text1_,       text2_,       valueBox_[1],
                               valueBox_[2], valueBox_[3], valueBox_[4]};
    if (cal.pointBoxCount != 4) {
        ShowMessage(QStringLiteral("X / Y の Max / Min が未確定"));
        for (QLineEdit* box : shownBoxes) SetTextColour(box, Qt::black);
        cal.frameReady = 0;
        FailCalibration();
        return;
    }
    cal.frameReady = 1;
    for (QLineEdit* box : shownBoxes) SetTextColour(box, QColor(0, 0, 255));
    for (int box = 1; box <= 4; ++box) {
        if (BoxEmpty(valueBox_[box])) {
            ShowMessage(QStringLiteral("Min,Max の数値が未確定"));
            cal.frameReady = 0;
            command4_->setEnabled(true);
            cal.calibrationInvalid = 1;
            return;
        }
    }
    if (xmax <= xmin) {
        ShowMessage(QStringLiteral("Xmax <= Xmin "));
        FailCalibration();
        return;
    }
    if (ymax <= ymin) {
        ShowMessage(QStringLiteral("Ymax <= Ymin "));
        cal.frameReady = 0;
        FailCalibration();
        return;
    }
    for (int box = 1; box <= 4; ++box) StoreAxisValue(box);
    ShowSamplingBoxes(true);
    EnableMidControls(true);
    command4_->setEnabled(false);
    command5_->setEnabled(true);
    HideMessage();
    readyAnnounced_ = 1;
    QApplication::beep();
    timer2_.start();
}

void DigitizerPanel::RevalidateCalibration() {
    core::AxisCalibration& cal = workspace_.calibration;
    const bool wasConfirmed = cal.calibrationConfirmed != 0 && cal.calibrationInvalid == 0;
    cal.calibrationConfirmed = 1;
    cal.calibrationInvalid = 0;
    cal.pointBoxCount = static_cast<int16_t>(CountPointBoxes());
    // Without all four points nothing can be converted: a silent fault.
    bool fault = cal.pointBoxCount != 4;
    if (!fault) cal.frameReady = 1;

    bool filled = true;
    for (int box = 1; box <= 4; ++box) filled = filled && !BoxEmpty(valueBox_[box]);
    const double values[] = {0, BoxValue(valueBox_[1]), BoxValue(valueBox_[2]),
                             BoxValue(valueBox_[3]), BoxValue(valueBox_[4])};
    const bool ordered = values[2] > values[1] && values[4] > values[3];
    if (!filled || !ordered) fault = true;
    if (!ordered) cal.frameReady = 0;
    if (ordered) {
        for (int box = 1; box <= 4; ++box) {
            const bool logAxis = (box <= 2 ? cal.logX : cal.logY) != 0;
            if (logAxis && values[box] <= 0) {
                ShowMessage(QStringLiteral("対数座標には不適切"));
                command4_->setEnabled(true);
                command5_->setEnabled(false);
                fault = true;
                break;
            }
        }
    }
    if (fault) {
        FailCalibration();
        return;
    }
    for (int box = 1; box <= 4; ++box) StoreAxisValue(box);
    command4_->setEnabled(false);
    command5_->setEnabled(true);
    ShowSamplingBoxes(true);
    // A message this very action has just posted stays readable.
    if (!messagePostedNow_ && helpShown_ == 0) HideMessage();
    EnableMidControls(true);
    // Sounded when the calibration becomes usable, not on every later press.
    if (!wasConfirmed) QApplication::beep();
}

// --- hover checks ---------------------------------------------------------------------

bool DigitizerPanel::TestFrameReady() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (cal.frameReady == 0) {
        const bool ready = CountPointBoxes() == 4 &&
                           BoxValue(valueBox_[2]) > BoxValue(valueBox_[1]) &&
                           BoxValue(valueBox_[4]) > BoxValue(valueBox_[3]);
        cal.frameReady = ready ? 1 : 0;
    }
    return cal.frameReady != 0;
}

void DigitizerPanel::HoverBasicFrame() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (!TestFrameReady() || autoConfirmDone_ != 0 || cal.xAxisDrawn == 0 || cal.yAxisDrawn == 0)
        return;
    if (CountPointBoxes() != 4) ConfirmCalibration();
    int sum = 0;
    for (int box = 1; box <= 4; ++box) sum += BoxEmpty(valueBox_[box]) ? 0 : 1;
    sum += BoxValue(valueBox_[2]) > BoxValue(valueBox_[1]) ? 1 : 0;
    sum += BoxValue(valueBox_[4]) > BoxValue(valueBox_[3]) ? 1 : 0;
    const bool complete = sum == 6;
    command4_->setEnabled(!complete);
    command5_->setEnabled(complete && cal.calibrationInvalid == 0);
    ShowSamplingBoxes(complete);
    autoConfirmDone_ = 1;
}

void DigitizerPanel::HoverSettingsFrame() {
    core::AxisCalibration& cal = workspace_.calibration;
    if (!TestFrameReady() || autoConfirmDone_ != 0 || cal.xAxisDrawn == 0 || cal.yAxisDrawn == 0 ||
        cal.calibrationInvalid != 0) {
        return;
    }
    ConfirmCalibration();
    command4_->setEnabled(false);
    command5_->setEnabled(cal.calibrationInvalid == 0);
    autoConfirmDone_ = 1;
}

void DigitizerPanel::HoverConfirmButton() {
    const core::AxisCalibration& cal = workspace_.calibration;
    if (readyAnnounced_ != 0 || CountPointBoxes() != 4) return;
    for (int box = 1; box <= 4; ++box) {
        if (BoxEmpty(valueBox_[box])) return;
    }
    if (cal.Xmin < cal.Xmax && cal.Ymin < cal.Ymax) {
        ShowHint(QStringLiteral("基本ﾃﾞｰﾀ入力完了(自由修正可)"), 570, 1470, 1455, 390);
    }
}

// --- events of the panel's controls ---------------------------------------------------

bool DigitizerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (text7_ == nullptr) return QWidget::eventFilter(watched, event);  // still being built
    const QEvent::Type type = event->type();
    const bool moved = type == QEvent::MouseMove || type == QEvent::Enter;

    if (watched == text7_->viewport() && type == QEvent::MouseButtonPress) {
        timer2_.stop();
        HideMessage();
        return false;
    }
    if (watched == text12_ && type == QEvent::MouseButtonPress) {
        text12_->hide();
        return false;
    }
    if (watched == basicFrame_ && type == QEvent::MouseMove) HoverBasicFrame();
    if (watched == settingsFrame_ && type == QEvent::MouseMove) HoverSettingsFrame();
    if (watched == command4_ && moved) HoverConfirmButton();
    if (watched == check5_ && type == QEvent::Enter) {
        ShowHint(QStringLiteral("数値表示の変更(通常 or 指数)"), 855, 2025, 1260, 390);
    }
    if (watched == body_ && type == QEvent::MouseMove) {
        const QCursor pointer = pointBoxUsed_ ? SquarePointer() : ArrowPointer();
        setCursor(pointer);
        mainWindow_.setCursor(pointer);
        timer1_.stop();
        canvas_.floatingLabel().hide();
    }

    for (int box = 1; box <= 4; ++box) {
        if (watched == check_[box]) {
            if (moved && helpShown_ == 0) HideMessage();
            if (type == QEvent::FocusOut) {
                // Only a move of the focus inside the panel counts; clicking
                // the picture in the main window is how the point gets placed.
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                    check_[box]->isChecked() && !PointPlaced(box)) {
                    TurnPointBoxOff(box);
                }
            }
        }
        if (watched == valueBox_[box]) {
            if (moved) setCursor(SquarePointer());
            if (type == QEvent::FocusOut) StoreAxisValue(box);
            if (type == QEvent::MouseButtonPress && box == 1) StoreAxisValue(1);
            if (type == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                    valueBox_[box % 4 + 1]->setFocus(Qt::TabFocusReason);
                    return true;
                }
            }
        }
    }
    for (int axis = 0; axis < 2; ++axis) {
        if (watched != midText_[axis]) continue;
        if (type == QEvent::FocusOut) StoreMidValue(axis);
        if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                midText_[1 - axis]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kx::ui
