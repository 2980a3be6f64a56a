// Tracing on the panel: the entry "自動採取" and its row of settings, a press
// that traces the curve under it on a worker thread, the traced points
// appended to the selected line as one step, the traced centre lines over the
// picture, and the traced lines a session keeps.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <optional>
#include <string>
#include <vector>

#include "core/data/text_chars.h"
#include "core/digitizer/point_lines.h"
#include "core/trace/curve_trace.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/digitizer_panel.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"

namespace kx::ui {
namespace {

namespace n = names::trace;

const QString kNoCurve = QStringLiteral("曲線が見つかりません");
constexpr int kLeastTolerance = 5;
constexpr int kMostTolerance = 150;
// A click lands this near a curve to trace it (the core looks as far), plus
// the line's half width: a second click there is on the same curve.
constexpr double kSeedReachPixels = 6;

// The second line of the message: why the press found no curve.
QString FaultReason(core::TraceFault fault) {
    switch (fault) {
        case core::TraceFault::kSeedOutside: return QStringLiteral("(画像の外です)");
        case core::TraceFault::kNoLine: return QStringLiteral("(近くに線がありません)");
        case core::TraceFault::kToleranceTakesPaper:
            return QStringLiteral("(紙と区別できません: 薄い線か、色差が大きすぎます)");
        case core::TraceFault::kNotALine: return QStringLiteral("(線ではなく塗りつぶしです)");
        case core::TraceFault::kStraightLine: return QStringLiteral("(格子線か枠の直線です)");
        case core::TraceFault::kTooShort: return QStringLiteral("(短すぎます: 文字か記号)");
        case core::TraceFault::kNone: break;
    }
    return {};
}

struct Record {
    std::string x, y;
};

// The texts of the traced points as a click at each would capture them; none
// when the calibration cannot convert one of them: a trace is taken whole.
std::optional<std::vector<Record>> TracedRecords(const core::AxisCalibration& cal,
                                                 const core::TraceResult& result) {
    std::vector<Record> records;
    for (const core::PicturePoint& p : result.points) {
        const auto sampled = core::SampleAt(cal, p.x * kTwipsPerPixel, p.y * kTwipsPerPixel);
        if (!sampled) return std::nullopt;
        Record record{core::Trimmed(sampled->xText), core::Trimmed(sampled->yText)};
        if (record.x.empty() || record.y.empty()) return std::nullopt;
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

// --- the entry and the settings row -----------------------------------------------

void DigitizerPanel::BuildTraceEntry(QMenu* menu) {
    traceAction_ = menu->addAction(QStringLiteral("自動採取"));
    traceAction_->setObjectName(n::kTraceEntry);
    traceAction_->setCheckable(true);
    traceAction_->setToolTip(
        QStringLiteral("曲線を1回のクリックで採取します。点数と色差は下の｢自動採取｣欄で"
                       "設定します。同じ曲線を再びクリックすると点を置き換えます"));
    menu->setToolTipsVisible(true);
    connect(traceAction_, &QAction::toggled, this, &DigitizerPanel::ToggleTracing);
}

void DigitizerPanel::BuildTraceControls() {
    QGroupBox* frame =
        Frame(body_, "自動採取", TwipsRect(30, kTraceRowTop, 3000, kTraceRowHeight - 30));
    frame->setObjectName(n::kTraceFrame);
    Caption(frame, "点数", TwipsRect(90, 285, 480, 240));
    tracePointsBox_ = new QSpinBox(frame);
    tracePointsBox_->setObjectName(n::kPointCountBox);
    tracePointsBox_->setGeometry(TwipsRect(570, 240, 840, 315));
    tracePointsBox_->setRange(2, core::kMostTracePoints);
    tracePointsBox_->setValue(core::kDefaultTracePoints);
    tracePointsBox_->setToolTip(QStringLiteral("曲線1本から採る点の数 (2～100、両端を含む)"));
    Caption(frame, "色差", TwipsRect(1590, 285, 480, 240));
    traceToleranceBox_ = new QSpinBox(frame);
    traceToleranceBox_->setObjectName(n::kToleranceBox);
    traceToleranceBox_->setGeometry(TwipsRect(2070, 240, 840, 315));
    traceToleranceBox_->setRange(kLeastTolerance, kMostTolerance);
    traceToleranceBox_->setValue(static_cast<int>(core::kDefaultTraceTolerance));
    traceToleranceBox_->setToolTip(
        QStringLiteral("曲線の色からどれだけ離れた色まで線とみなすか (5～150)"));
}

void DigitizerPanel::ToggleTracing(bool on) {
    const core::AxisCalibration& cal = workspace_.calibration;
    if (on && (!cal.calibrationConfirmed || cal.calibrationInvalid)) {
        // Traced points are converted as clicks are: not before a confirmation.
        const QSignalBlocker quiet(traceAction_);
        traceAction_->setChecked(false);
        QApplication::beep();
        ShowMessage(QStringLiteral("基本座標を確定してから自動採取します"));
        return;
    }
    state_.picks.tracing = on;
    if (!on) tracer_.ReleaseBuffer();
}

int DigitizerPanel::SelectedLine() const {
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (lineOption_[i]->isChecked()) return i + 1;
    }
    return workspace_.data.captureLine;
}

// --- a press, the worker, the result ----------------------------------------------

void DigitizerPanel::StartTrace(QPointF position) {
    const TraceRequest request{SelectedLine(), position, tracePointsBox_->value(),
                               static_cast<double>(traceToleranceBox_->value())};
    if (!canvas_.hasPicture()) {
        ShowMessage(kNoCurve);
        return;
    }
    // One trace at a time; it takes a fraction of a second at most.
    if (!tracer_.Start(canvas_.picture(), request)) QApplication::beep();
}

void DigitizerPanel::TakeTrace(const TraceRequest& request, const core::TraceResult& result) {
    // Switched off or the calibration undone while it ran: nothing to put it in.
    if (CanvasMode() != core::CanvasMode::kTracing) return;
    if (!result.ok()) {
        QApplication::beep();
        ShowMessage(kNoCurve + QLatin1Char('\n') + FaultReason(result.fault));
        // The DataSet window stands over the panel while capture runs.
        if (workspace_.data.captureMode == 1) emit captureRefused(kNoCurve);
        return;
    }
    if (AppendTrace(request, result)) emit pointCaptured(request.line);
}

bool DigitizerPanel::AppendTrace(const TraceRequest& request, const core::TraceResult& result) {
    const int line = request.line;
    if (line < 1 || line > core::kMaxLines) return false;
    const auto records = TracedRecords(workspace_.calibration, result);
    if (!records) {
        QApplication::beep();
        ShowMessage(kNoCurve);
        return false;
    }
    core::TracedLine traced{static_cast<int16_t>(line), request.seed.x(),  request.seed.y(),
                            request.pointCount,         request.tolerance, {}};
    for (const core::PicturePoint& p : result.centreLine)
        traced.centre.push_back({p.x * kTwipsPerPixel, p.y * kTwipsPerPixel});
    const core::LineState before = LineStateOf(line);
    const std::vector<int> replaced = ReplacedByTrace(traced, before, result.lineWidth);
    if (before.marks.size() - replaced.size() + records->size() >
        static_cast<std::size_t>(core::kMaxPoints)) {
        QApplication::beep();
        ShowMessage(LineFullText());
        emit captureRefused(LineFullText());
        return false;
    }

    std::string text = before.pointText;
    core::LineMarks marks = before.marks;
    for (auto k = replaced.rbegin(); k != replaced.rend(); ++k) {
        text = core::WithoutPoint(text, *k);
        marks.erase(marks.begin() + *k);
    }
    core::SetPointText(workspace_.data, line, text);
    captureMarks_.Replace(line, std::move(marks));
    for (std::size_t k = 0; k < records->size(); ++k) {
        const Record& record = (*records)[k];
        core::AppendPoint(workspace_.data, line, record.x, record.y);
        captureMarks_.Record(line, record.x + "," + record.y, result.points[k].x * kTwipsPerPixel,
                             result.points[k].y * kTwipsPerPixel);
    }
    // The whole trace is one step: Ctrl+Z takes it back at once.
    history_.Record({line, before, LineStateOf(line)});
    const core::PicturePoint last = result.points.back();
    SetNudgeTarget(kNudgeCapture, line, static_cast<int>(captureMarks_.Of(line).size()) - 1,
                   QPointF(last.x * kTwipsPerPixel, last.y * kTwipsPerPixel));
    traces_.push_back(std::move(traced));
    return true;
}

std::vector<int> DigitizerPanel::ReplacedByTrace(const core::TracedLine& traced,
                                                 const core::LineState& before,
                                                 double lineWidth) const {
    // A second trace of the same curve takes the place of the first one's points.
    const core::TracedLine* earlier = LiveTrace(traced.line);
    if (earlier == nullptr) return {};
    const core::CentreLine& old = earlier->centre;
    const double reach = (kSeedReachPixels + lineWidth / 2) * kTwipsPerPixel;
    if (!core::SameCurve(old, {earlier->seedX, earlier->seedY}, traced.centre,
                         {traced.seedX, traced.seedY}, reach))
        return {};
    return core::MarksOnLine(before.marks, old);
}

// --- the traced lines over the picture and in sessions ------------------------------

const core::TracedLine* DigitizerPanel::LiveTrace(int line) const {
    LiveTraceFound& found = liveTraces_[static_cast<std::size_t>(line)];
    const core::LineMarks& marks = captureMarks_.Of(line);
    if (!found.valid || found.traces != traces_.size() || found.marks != marks)
        found = {true, traces_.size(), marks, FindLiveTrace(line)};
    return found.index < 0 ? nullptr : &traces_[static_cast<std::size_t>(found.index)];
}

int DigitizerPanel::FindLiveTrace(int line) const {
    const core::LineMarks& marks = captureMarks_.Of(line);
    for (std::size_t k = traces_.size(); k-- > 0;) {
        const core::TracedLine& traced = traces_[k];
        if (traced.line == line && !core::MarksOnLine(marks, traced.centre).empty())
            return static_cast<int>(k);
    }
    return -1;
}

void DigitizerPanel::ShowTracedLines() {
    // Called on every tick of the live display: drawn again only on a change.
    bool changed = tracesDrawn_ != traces_.size();
    for (int line = 1; line <= core::kMaxLines && !changed; ++line)
        changed = tracedDrawnFor_[static_cast<std::size_t>(line)] != captureMarks_.Of(line);
    if (!changed) return;
    std::vector<Canvas::TracedCurve> curves;
    for (int line = 1; line <= core::kMaxLines; ++line) {
        tracedDrawnFor_[static_cast<std::size_t>(line)] = captureMarks_.Of(line);
        const core::TracedLine* traced = LiveTrace(line);
        if (traced == nullptr) continue;
        QPolygonF centre;
        for (const core::CentrePoint& p : traced->centre) centre << QPointF(p.x, p.y);
        curves.push_back({std::move(centre), line});
    }
    tracesDrawn_ = traces_.size();
    canvas_.SetTracedOverlay(curves);
}

void DigitizerPanel::ForgetTraces() {
    // What runs was asked on the old picture.
    tracer_.Drop();
    traces_.clear();
    liveTraces_ = {};
    tracesDrawn_ = 0;
    tracedDrawnFor_ = {};
    canvas_.SetTracedOverlay({});
}

void DigitizerPanel::PutTracedInSession(core::Session& session) const {
    session.traced.clear();
    for (int line = 1; line <= core::kMaxLines; ++line) {
        if (const core::TracedLine* traced = LiveTrace(line)) session.traced.push_back(*traced);
    }
}

void DigitizerPanel::TakeTracedFromSession(const core::Session& session) {
    ForgetTraces();
    for (const core::TracedLine& traced : session.traced) {
        if (traced.line >= 1 && traced.line <= core::kMaxLines) traces_.push_back(traced);
    }
    ShowTracedLines();
}

}  // namespace kx::ui
