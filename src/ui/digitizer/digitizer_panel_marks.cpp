// What the digitizer panel shows of the captured points and how they are
// taken back: the marks on the canvas, the fitted curves over the picture,
// the loupe, undo and redo, removal by a Shift press on a mark, and the arrow
// keys that move the last placed or captured point.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

#include "core/data/text_chars.h"
#include "core/digitizer/axis_inverse.h"
#include "core/digitizer/point_lines.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/digitizer/main_window.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

namespace n = names::marks;

}  // namespace

void DigitizerPanel::BuildMarkEntries(QMenu* menu) {
    menu->addSeparator();
    undoAction_ = menu->addAction(QStringLiteral("採取点を戻す"));
    undoAction_->setObjectName(n::kUndoEntry);
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = menu->addAction(QStringLiteral("採取点をやり直す"));
    redoAction_->setObjectName(n::kRedoEntry);
    redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction* action : {undoAction_, redoAction_}) {
        // The keys work in every window while the canvas is there; a text
        // box with the keyboard keeps them for its own text.
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setEnabled(false);
        mainWindow_.addAction(action);
    }
    connect(undoAction_, &QAction::triggered, this, &DigitizerPanel::UndoCapture);
    connect(redoAction_, &QAction::triggered, this, &DigitizerPanel::RedoCapture);

    menu->addSeparator();
    loupeAction_ = menu->addAction(QStringLiteral("ﾙｰﾍﾟ表示"));
    loupeAction_->setObjectName(n::kLoupeEntry);
    loupeAction_->setCheckable(true);
    loupeAction_->setChecked(true);
    connect(loupeAction_, &QAction::toggled, this, [this](bool on) {
        if (!on) canvas_.HideLoupe();
    });
    overlayAction_ = menu->addAction(QStringLiteral("近似曲線を画像に重ねる"));
    overlayAction_->setObjectName(n::kOverlayEntry);
    overlayAction_->setCheckable(true);
    overlayAction_->setChecked(true);
    connect(overlayAction_, &QAction::toggled, this, [this](bool shown) {
        overlay_.SetCurvesShown(shown);
        emit curvesOverPictureChanged(shown);
    });

    connect(&canvas_, &Canvas::captureMarkShiftClicked, this,
            &DigitizerPanel::RemoveCapturedPoint);
    connect(&canvas_, &Canvas::nudgeRequested, this, &DigitizerPanel::Nudge);
    // The marks and curves follow every change of what they are drawn from.
    connect(&mainWindow_, &MainWindow::canvasStateChanged, this,
            &DigitizerPanel::FollowPictureData);
    connect(this, &DigitizerPanel::pointCaptured, this, &DigitizerPanel::FollowPictureData);
    connect(this, &DigitizerPanel::linesReset, this, &DigitizerPanel::FollowPictureData);
    for (int box = 1; box <= 4; ++box) valueBox_[box]->installEventFilter(this);
}

// --- marks and fitted curves ---------------------------------------------------

void DigitizerPanel::FollowPictureData() {
    overlay_.Follow();
    ShowTracedLines();
    undoAction_->setEnabled(history_.CanUndo());
    redoAction_->setEnabled(history_.CanRedo());
}

// --- undo and redo ------------------------------------------------------------------

core::LineState DigitizerPanel::LineStateOf(int line) {
    const std::string& text = workspace_.data.pointText[static_cast<std::size_t>(line)];
    captureMarks_.Follow(line, text);
    return {text, captureMarks_.Of(line)};
}

void DigitizerPanel::RecordCapture(int line, const core::LineState& before,
                                   const std::string& record, QPointF position) {
    captureMarks_.Record(line, record, position.x(), position.y());
    history_.Record({line, before, LineStateOf(line)});
    SetNudgeTarget(kNudgeCapture, line, static_cast<int>(captureMarks_.Of(line).size()) - 1,
                   position);
}

void DigitizerPanel::ShowChangedLine(int line) {
    // The DataSet window shows the line's text and count as after a capture.
    emit pointCaptured(line);
}

void DigitizerPanel::RestoreLine(int line, const core::LineState& state) {
    core::SetPointText(workspace_.data, line, state.pointText);
    captureMarks_.Replace(line, state.marks);
    SetNudgeTarget(kNoNudge);
    ShowChangedLine(line);
}

void DigitizerPanel::SelectStepLine(int line) {
    const int index = line - 1;
    if (lineOption_[index]->isChecked()) return;
    lineOption_[index]->setChecked(true);
    workspace_.data.captureLine = static_cast<int16_t>(line);
    OnLineOption(index);  // the DataSet window follows at once while capture runs
}

void DigitizerPanel::ForgetCaptureSteps() {
    history_.Clear();
    SetNudgeTarget(kNoNudge);
}

void DigitizerPanel::UndoCapture() {
    const auto step = history_.Undo();
    // A line edited since the step was taken keeps its edit: the steps
    // before it no longer describe it.
    if (!step ||
        workspace_.data.pointText[static_cast<std::size_t>(step->line)] != step->after.pointText) {
        history_.Clear();
        QApplication::beep();
        FollowPictureData();
        return;
    }
    SelectStepLine(step->line);
    RestoreLine(step->line, step->before);
}

void DigitizerPanel::RedoCapture() {
    const auto step = history_.Redo();
    if (!step || workspace_.data.pointText[static_cast<std::size_t>(step->line)] !=
                     step->before.pointText) {
        history_.Clear();
        QApplication::beep();
        FollowPictureData();
        return;
    }
    SelectStepLine(step->line);
    RestoreLine(step->line, step->after);
}

void DigitizerPanel::RemoveCapturedPoint(int line, int point) {
    const core::LineState before = LineStateOf(line);
    if (point < 0 || point >= static_cast<int>(before.marks.size())) return;
    core::SetPointText(workspace_.data, line, core::WithoutPoint(before.pointText, point));
    core::LineMarks marks = before.marks;
    marks.erase(marks.begin() + point);
    captureMarks_.Replace(line, std::move(marks));
    history_.Record({line, before, LineStateOf(line)});
    SetNudgeTarget(kNoNudge);
    ShowChangedLine(line);
}

// --- the arrow keys -------------------------------------------------------------------

void DigitizerPanel::SetNudgeTarget(NudgeKind kind, int which, int point, QPointF at) {
    nudge_ = {kind, which, point, at};
    canvas_.TakeArrowKeys(kind != kNoNudge);
}

void DigitizerPanel::Nudge(int dx, int dy) {
    const QPointF to = nudge_.at + QPointF(dx * kTwipsPerPixel, dy * kTwipsPerPixel);
    bool moved = false;
    switch (nudge_.kind) {
        case kNudgeCalibration: moved = NudgeCalibrationPoint(to); break;
        case kNudgeMid:
            NudgeMidPoint(to);
            moved = true;
            break;
        case kNudgeCapture: moved = NudgeCapturedPoint(to); break;
        default: return;
    }
    if (!moved) {
        QApplication::beep();
        return;
    }
    nudge_.at = to;
    // The loupe stood beside the pointer at the click; the point has left
    // it. It comes back with the next move of the pointer.
    canvas_.HideLoupe();
    const core::AxisCalibration& cal = workspace_.calibration;
    // The sampling boxes show the values at the new place, as after a press.
    if (nudge_.kind != kNudgeCapture && !cal.calibrationInvalid && state_.samplingShown)
        ConvertIntoSamplingBoxes(to.x(), to.y());
    if (nudge_.kind != kNudgeCapture &&
        core::FirstNonPositiveLogValue(cal, ValueTexts()) == core::kPickNone)
        RevalidateCalibration(false);
    FollowPictureData();
}

bool DigitizerPanel::NudgeCalibrationPoint(QPointF to) {
    core::AxisCalibration& cal = workspace_.calibration;
    const auto mode = static_cast<core::PickMode>(nudge_.which);
    const core::AxisCalibration kept = cal;
    // The origin keeps a placed position against a second press: moving it
    // places it afresh, and the axis ends that stand on its lines go along.
    if (mode == core::kPickXmin || mode == core::kPickYmin) cal.X1MIN = cal.Y1MIN = 0;
    if (!PlacePoint(mode, to.x(), to.y())) {
        cal = kept;
        return false;
    }
    DrawCalibrationMarks(true);
    return true;
}

void DigitizerPanel::NudgeMidPoint(QPointF to) {
    core::AxisCalibration& cal = workspace_.calibration;
    if (nudge_.which == 0) {
        cal.xMidPos = static_cast<float>(to.x());
    } else {
        cal.yMidPos = static_cast<float>(to.y());
    }
    DrawCalibrationMarks(true);
}

bool DigitizerPanel::NudgeCapturedPoint(QPointF to) {
    const int line = nudge_.which;
    const core::LineState before = LineStateOf(line);
    const int point = nudge_.point;
    // The point must still be the one captured there (not edited or removed).
    if (point >= static_cast<int>(before.marks.size()) || !before.marks[point].captured ||
        before.marks[point].x != nudge_.at.x() || before.marks[point].y != nudge_.at.y()) {
        SetNudgeTarget(kNoNudge);
        return false;
    }
    const auto sampled = ConvertIntoSamplingBoxes(to.x(), to.y());
    if (!sampled) return false;
    const std::string record = core::Trimmed(sampled->xText) + "," + core::Trimmed(sampled->yText);
    core::SetPointText(workspace_.data, line,
                       core::WithPointReplaced(before.pointText, point, record));
    core::LineMarks marks = before.marks;
    marks[point] = {record, true, to.x(), to.y()};
    captureMarks_.Replace(line, std::move(marks));
    // Moving the point just captured stays one step with its capture.
    const core::CaptureStep* last = history_.Last();
    if (last != nullptr && last->line == line && last->after.pointText == before.pointText) {
        history_.AmendLast(LineStateOf(line));
    } else {
        history_.Record({line, before, LineStateOf(line)});
    }
    emit pointCaptured(line);
    return true;
}

bool DigitizerPanel::eventFilter(QObject* watched, QEvent* event) {
    // Only the box of the point just placed moves it.
    if (event->type() != QEvent::KeyPress || nudge_.kind != kNudgeCalibration ||
        watched != valueBox_[nudge_.which])
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Shift) return false;
    const QPoint step = Canvas::NudgeStep(*key);
    if (step.isNull()) {
        // Typing the value ends the moving: the keys edit the text again.
        SetNudgeTarget(kNoNudge);
        return false;
    }
    Nudge(step.x(), step.y());
    return true;
}

// --- the loupe ------------------------------------------------------------------------

void DigitizerPanel::SetCurvesOverPicture(bool shown) {
    overlayAction_->setChecked(shown);
}

bool DigitizerPanel::PlacingOrCapturing() const {
    return core::LoupeFollows(CanvasMode());
}

void DigitizerPanel::FollowWithLoupe(QPointF position) {
    const QPoint pixel(static_cast<int>(std::floor(position.x() / kTwipsPerPixel)),
                       static_cast<int>(std::floor(position.y() / kTwipsPerPixel)));
    if (loupeAction_->isChecked() && PlacingOrCapturing() && canvas_.hasPicture() &&
        canvas_.picture().rect().contains(pixel)) {
        canvas_.ShowLoupe(position);
    } else {
        canvas_.HideLoupe();
    }
}

}  // namespace kx::ui
