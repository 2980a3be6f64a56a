#include "ui/results/program_window.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>

#include <algorithm>

#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"
#include "ui/results/gauge_window.h"
#include "ui/results/result_list.h"
#include "ui/results/results_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::program;

// The layout rules measure the outer window; the client area lies inside the
// borders (60 twips a side) and below the caption and menu (795 in all).
constexpr int kFrameWidth = 120;
constexpr int kFrameHeight = 795;
constexpr int kStartWidth = 11100;
constexpr int kStartHeight = 8655;

// Normal places of the left column: List1, List3, List4 (top, height).
constexpr int kList1Top = 0, kList1Height = 2205;
constexpr int kList3Top = 2205, kList3Height = 1860;
constexpr int kList4Top = 4065, kList4Height = 3690;

const char* const kIdleStatus = "開始ﾎﾞﾀﾝを押して下さい";
const char* const kCopied = "クリップボードにコピーしました。";
const char* const kHintText = "表示結果をクリアした後､実行します｡";
const char* const kAreaHints[4] = {"計算状況表示領域", "計算結果詳細表示領域域", "計算式表示領域",
                                   "プログラム表示領域"};
// Colours of the two fading hints: start and end.
const QColor kHintStart[2] = {QColor(150, 150, 200), QColor(150, 200, 150)};
const QColor kHintLimit[2] = {QColor(255, 255, 200), QColor(200, 255, 255)};

int RaiseComponent(int value, int limit) {
    return std::min(value + 8, limit);
}

QLabel* BoxedLabel(QWidget* parent, const char* name, const QString& text, const QColor& text_,
                   const QColor& background) {
    QLabel* label = NamedLabel(parent, name, text, QRect());
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    SetTextColour(label, text_);
    SetBackground(label, background);
    return label;
}

}  // namespace

ProgramWindow::ProgramWindow(Workspace& workspace, GaugeWindow& gauge, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("プログラム生成")),
      workspace_(workspace),
      gauge_(gauge) {
    BuildMenus();
    BuildControls();
    ConnectControls();

    hideHintsTimer_.setObjectName(n::kHideHintsTimer);
    hideHintsTimer_.setInterval(20000);
    connect(&hideHintsTimer_, &QTimer::timeout, this, &ProgramWindow::HideAreaHints);
    fadeHintsTimer_.setObjectName(n::kFadeHintsTimer);
    fadeHintsTimer_.setInterval(20);
    connect(&fadeHintsTimer_, &QTimer::timeout, this, &ProgramWindow::FadeInAreaHints);
    SetUpMessageTimer(n::kMessageTimer, 5000, true);
    AddMessageBox(clearingHint_);
    AddMessageBox(copiedMessage_);

    observer_.beforeEvents = [this] { ShowLogSoFar(); };
    observer_.onFirstCubic = [this] { SetTextColour(list_[1], QColor(0, 48, 128)); };

    resize(TwipsToPixels(kStartWidth - kFrameWidth),
           TwipsToPixels(kStartHeight - kFrameHeight) + menuBar_->sizeHint().height());
}

void ProgramWindow::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu("File");
    file->setObjectName(n::kFileMenu);
    saveProgram_ = file->addAction("Program", this, [this] { RequestSave(2); });
    saveProgram_->setObjectName(n::kSaveProgramEntry);
    saveSummary_ = file->addAction("Result_Summary", this, [this] { RequestSave(3); });
    saveSummary_->setObjectName(n::kSaveSummaryEntry);
    saveAll_ = file->addAction("ALL_Result", this, [this] { RequestSave(4); });
    saveAll_->setObjectName(n::kSaveAllEntry);
    // The history list as well, beside the other lists (also a double click
    // on its label).
    file->addAction("History", this, [this] { RequestSave(5); })
        ->setObjectName(names::program_more::kSaveHistoryEntry);
    namespace pm = names::program_more;
    const struct {
        const char* text;
        const char* name;
        int kind;
    } sources[] = {
        {"Program_C", pm::kSaveCEntry, core::kSaveCProgram},
        {"Program_Python", pm::kSavePythonEntry, core::kSavePythonProgram},
        {"Program_MATLAB", pm::kSaveMatlabEntry, core::kSaveMatlabProgram},
        {"Program_JavaScript", pm::kSaveJavaScriptEntry, core::kSaveJavaScriptProgram},
        {"Program_C#", pm::kSaveCSharpEntry, core::kSaveCSharpProgram},
        {"Program_Fortran", pm::kSaveFortranEntry, core::kSaveFortranProgram},
    };
    for (const auto& source : sources) {
        QAction* entry =
            file->addAction(source.text, this, [this, kind = source.kind] { RequestSave(kind); });
        entry->setObjectName(source.name);
        saveSources_.push_back(entry);
    }
    file->addSeparator();
    QAction* end = file->addAction("Program End", this, [] { QCoreApplication::exit(0); });
    end->setObjectName(n::kEndEntry);

    QMenu* option = menuBar_->addMenu("Option");
    option->setObjectName(n::kOptionMenu);
    plot_ = option->addAction("処理結果の描画", this, &ProgramWindow::plotRequested);
    plot_->setObjectName(n::kPlotEntry);
    QAction* conditions =
        option->addAction("計算処理条件設定", this, &ProgramWindow::conditionsRequested);
    conditions->setObjectName(n::kConditionsEntry);
    QAction* exclusion = option->addAction("排他座標系", this, &ProgramWindow::exclusionRequested);
    exclusion->setObjectName(n::kExclusionEntry);
    validation_ =
        option->addAction("計算ﾌﾟﾛｸﾞﾗﾑの検証", this, &ProgramWindow::validationRequested);
    validation_->setObjectName(names::program_more::kValidationEntry);
    // While this window is open the panel is disabled: the switch of the
    // curves over the picture is here too.
    curvesOverPicture_ = option->addAction("近似曲線を画像に重ねる");
    curvesOverPicture_->setObjectName(names::program_more::kCurvesOverPictureEntry);
    curvesOverPicture_->setCheckable(true);
    curvesOverPicture_->setChecked(true);
    connect(curvesOverPicture_, &QAction::toggled, this,
            &ProgramWindow::curvesOverPictureSwitched);

    SetPlotAvailable(false);
    SetResultsCurrent(false);
}

void ProgramWindow::ShowCurvesOverPicture(bool shown) {
    const QSignalBlocker quiet(curvesOverPicture_);
    curvesOverPicture_->setChecked(shown);
}

void ProgramWindow::SetPlotAvailable(bool available) {
    plot_->setEnabled(available);
}

void ProgramWindow::SetResultsCurrent(bool current) {
    workspace_.fitCurrent = current;
    for (QAction* entry : saveSources_) entry->setEnabled(current);
    validation_->setEnabled(current);
    emit resultsCurrentChanged(current);
}

void ProgramWindow::BuildControls() {
    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(n::kClientArea);

    list_[1] = new ResultList(n::kList[1], false, true, clientArea_);
    list_[2] = new ResultList(n::kList[2], true, false, clientArea_);
    list_[3] = new ResultList(n::kList[3], true, true, clientArea_);
    list_[4] = new ResultList(n::kList[4], true, true, clientArea_);
    list_[1]->rows().Follow(workspace_.results.fittingLog);

    statusLabel_ = NamedLabel(clientArea_, n::kStatusLabel, kIdleStatus, QRect());
    SetTextColour(statusLabel_, QColor(192, 0, 0));
    historyLabel_ = NamedLabel(clientArea_, n::kHistoryLabel, QString(), QRect());
    historyLabel_->setFrameShape(QFrame::Panel);
    historyLabel_->setFrameShadow(QFrame::Sunken);

    calculateButton_ = Button(clientArea_, n::kCalculateButton, "計算開始", QRect());
    backButton_ = Button(clientArea_, n::kBackButton, "戻 る", QRect());

    for (int i = 0; i < 4; ++i) {
        QLabel* hint =
            BoxedLabel(clientArea_, "", kAreaHints[i], QColor(0, 0, 128), QColor(255, 255, 192));
        hint->setObjectName(ArrayName(n::kAreaHint, i));
        hint->setAttribute(Qt::WA_TransparentForMouseEvents);
        hint->hide();
        areaHint_[i] = hint;
    }
    clearingHint_ = BoxedLabel(clientArea_, n::kClearingHint, kHintText, QColor(0, 0, 160),
                               QColor(255, 255, 192));
    clearingHint_->hide();
    copiedMessage_ = BoxedLabel(clientArea_, n::kCopiedMessage, kCopied, QColor(0, 96, 0),
                                QColor(192, 255, 192));
    copiedMessage_->hide();
}

void ProgramWindow::ConnectControls() {
    for (int i = 1; i <= 4; ++i) {
        connect(list_[i], &ResultList::pressed, this, [this, i] { ListPressed(i); });
        connect(list_[i], &ResultList::copyRequested, this, [this, i] { CopySelection(i); });
        connect(list_[i], &ResultList::enlargeRequested, this, [this, i] { ToggleEnlarged(i); });
    }
    connect(calculateButton_, &QPushButton::clicked, this, &ProgramWindow::StartCalculation);
    connect(backButton_, &QPushButton::clicked, this, &ProgramWindow::ReturnToOpener);
    connect(&gauge_, &GaugeWindow::stopPressed, this, &ProgramWindow::StopCalculation);

    WidgetEvents& button = WidgetEvents::Of(calculateButton_);
    connect(&button, &WidgetEvents::entered, this, &ProgramWindow::ShowClearingHint);
    connect(&button, &WidgetEvents::moved, this, &ProgramWindow::ShowClearingHint);
    connect(&WidgetEvents::Of(clientArea_), &WidgetEvents::moved, this,
            &ProgramWindow::HideClearingHintOver);
    connect(&WidgetEvents::Of(clearingHint_), &WidgetEvents::pressed, this,
            &ProgramWindow::DismissClearingHint);
    connect(&WidgetEvents::Of(historyLabel_), &WidgetEvents::doubleClicked, this, [this] {
        if (saveProgram_->isEnabled()) RequestSave(5);
    });
}

int ProgramWindow::OuterWidth() const {
    return static_cast<int>(PixelsToTwips(clientArea_->width())) + kFrameWidth;
}

int ProgramWindow::OuterHeight() const {
    return static_cast<int>(PixelsToTwips(clientArea_->height())) + kFrameHeight;
}

void ProgramWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), menuHeight);
    clientArea_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
    Arrange();
}

void ProgramWindow::Arrange() {
    const int w = OuterWidth();
    const int h = OuterHeight();
    if (h - 4860 <= 10 || h - 1770 <= 10) return;
    const int listWidth = w - 2610;
    const int rightLeft = listWidth + 30;
    const int rightWidth = std::max(w - kFrameWidth - rightLeft - 30, 300);
    list_[2]->setGeometry(TwipsRect(rightLeft, 0, rightWidth, h - 1545));
    ApplyLeftColumn();

    calculateButton_->setGeometry(TwipsRect(w - 2400, h - 1140, 1215, 330));
    backButton_->setGeometry(TwipsRect(w - 1110, h - 1140, 975, 330));
    PlaceStatusLabel();
    historyLabel_->setGeometry(TwipsRect(rightLeft, h - 1140, 150, 330));

    areaHint_[0]->setGeometry(TwipsRect(240, 240, 2700, 330));
    areaHint_[1]->setGeometry(TwipsRect(rightLeft + 60, 600, rightWidth - 120, 330));
    areaHint_[2]->setGeometry(TwipsRect(240, kList3Top + 240, 2700, 330));
    areaHint_[3]->setGeometry(TwipsRect(240, kList4Top + 240, 2700, 330));
    clearingHint_->setGeometry(TwipsRect(std::max(w - 5700, 0), h - 1500, 3150, 330));
}

// The left column in its normal or enlarged view. An enlarged list keeps the
// whole client height when the window is resized.
void ProgramWindow::ApplyLeftColumn() {
    const int w = OuterWidth();
    const int h = OuterHeight();
    const int width = w - 2610;
    struct Place {
        int list, top, height;
    };
    const Place places[] = {
        {1, kList1Top, kList1Height}, {3, kList3Top, kList3Height}, {4, kList4Top, h - 4965}};
    int shown = 0;
    for (const Place& p : places) {
        if (enlarged_[p.list]) shown = p.list;
    }
    for (const Place& p : places) {
        ResultList* list = list_[p.list];
        if (shown == 0) {
            list->setGeometry(TwipsRect(0, p.top, width, p.height));
            list->show();
        } else if (p.list == shown) {
            list->setGeometry(TwipsRect(0, 0, width, h - kFrameHeight));
            list->show();
            list->raise();
        } else {
            list->hide();
        }
    }
}

void ProgramWindow::ToggleEnlarged(int list) {
    const bool enlarge = !enlarged_[list];
    enlarged_ = {};
    enlarged_[list] = enlarge;
    ApplyLeftColumn();
}

void ProgramWindow::Opening() {
    hideHintsTimer_.stop();
    fadeHintsTimer_.stop();
    if (!hintsShown_) {
        hintsShown_ = true;
        ShowAreaHints();
    }
    ShowStatus(unratedWarning_.isEmpty() ? kIdleStatus : unratedWarning_);
    calculateButton_->setText(IdleCaption());
    workspace_.settings.cutoffPrecision = core::kStandardCutoffPrecision;
}

void ProgramWindow::ShowStatus(const QString& text) {
    statusLabel_->setText(text);
    PlaceStatusLabel();
}

void ProgramWindow::PlaceStatusLabel() {
    const int w = OuterWidth();
    const int h = OuterHeight();
    QRect place = TwipsRect(w - 2355, h - 1440, 2220, 270);
    const int needed = statusLabel_->fontMetrics().horizontalAdvance(statusLabel_->text()) + 4;
    if (needed > place.width()) place.setLeft(std::max(0, place.right() + 1 - needed));
    statusLabel_->setGeometry(place);
}

void ProgramWindow::Returning() {
    // Back at the data windows the data may change: the plot shows only the
    // marks until the next run.
    SetResultsCurrent(false);
    hideHintsTimer_.stop();
    fadeHintsTimer_.stop();
}

QString ProgramWindow::IdleCaption() const {
    return list_[1]->count() > 0 ? "再計算開始" : "計算開始";
}

void ProgramWindow::ShowAreaHints() {
    for (int i = 0; i < 2; ++i) {
        hintColour_[i] = kHintStart[i];
        SetBackground(areaHint_[i], hintColour_[i]);
    }
    for (QLabel* hint : areaHint_) {
        hint->show();
        hint->raise();
    }
    fadeHintsTimer_.start();
    hideHintsTimer_.start();
}

void ProgramWindow::HideAreaHints() {
    for (QLabel* hint : areaHint_) hint->hide();
    hideHintsTimer_.stop();
    fadeHintsTimer_.stop();
    emit panelTimersStopRequested();
}

void ProgramWindow::FadeInAreaHints() {
    bool rising = false;
    for (int i = 0; i < 2; ++i) {
        const QColor& limit = kHintLimit[i];
        QColor& c = hintColour_[i];
        c.setRgb(RaiseComponent(c.red(), limit.red()), RaiseComponent(c.green(), limit.green()),
                 RaiseComponent(c.blue(), limit.blue()));
        SetBackground(areaHint_[i], c);
        rising = rising || c != limit;
    }
    if (!rising) fadeHintsTimer_.stop();
}

void ProgramWindow::StartCalculation() {
    if (running_) return;
    for (QLabel* hint : areaHint_) hint->hide();
    hideHintsTimer_.stop();
    fadeHintsTimer_.stop();
    emit panelTimersStopRequested();
    for (int i = 1; i <= 4; ++i) list_[i]->rows().Clear();
    unratedWarning_.clear();

    calculateButton_->setText("実行中");
    ShowStatus("計算しています");
    setEnabled(false);
    running_ = true;
    if (workspace_.data.progressTotal > 29) {
        gauge_.ClearGauge();
        gauge_.StartGauge();
    }
    observer_.begin();
    QCoreApplication::processEvents();
    ClearUpperVectorState();
    SetResultsCurrent(false);
    const bool completed =
        core::FitAndGenerate(workspace_.data, workspace_.settings, workspace_.results, &observer_);
    running_ = false;

    if (!completed || observer_.stopRequest()) {
        // The gauge's stop button has already given the window back; the
        // lists keep what the run wrote before it stopped.
        observer_.clearStop();
        ShowLogSoFar();
        list_[3]->rows().Append(workspace_.results.summary);
        return;
    }
    setEnabled(true);
    SetResultsCurrent(true);
    gauge_.StopGauge();
    FillResults();
    unratedWarning_ = UnratedWarning();
    ShowStatus(unratedWarning_.isEmpty() ? kIdleStatus : unratedWarning_);
    calculateButton_->setText(IdleCaption());
}

// A section no form could be rated on is the constant 0 in the program: the
// log and the details say so at the section, the status line names the first
// such line for as long as the lists show that run.
QString ProgramWindow::UnratedWarning() const {
    for (const core::UnratedSection& section :
         core::UnratedSections(workspace_.data, workspace_.results)) {
        if (section.form == 0)
            return QStringLiteral("評価できる式なし (Line %1)").arg(section.line);
    }
    return {};
}

core::ResultLists ProgramWindow::ShownLists() const {
    return {list_[1]->rows().ShownLog(), list_[2]->rows().texts(), list_[3]->rows().texts(),
            list_[4]->rows().texts()};
}

void ProgramWindow::ShowLogSoFar() {
    list_[1]->rows().ShowLogSoFar();
}

void ProgramWindow::FillResults() {
    ShowLogSoFar();
    const core::FitResults& results = workspace_.results;
    list_[3]->rows().Append(results.summary);
    list_[4]->rows().Append(results.program);
    list_[2]->rows().Append(
        core::DescribeResults(workspace_.data, workspace_.settings, results).lines);
}

void ProgramWindow::StopCalculation() {
    observer_.requestStop();
    setEnabled(true);
    gauge_.StopGauge();
    ShowStatus("GO ﾎﾞﾀﾝを押して下さい");
    calculateButton_->setText("GO");
}

void ProgramWindow::RequestSave(int saveKind) {
    workspace_.data.saveKind = static_cast<int16_t>(saveKind);
    emit saveRequested(saveKind);
}

void ProgramWindow::ListPressed(int list) {
    if (lastPressed_ != list) {
        for (int i = 1; i <= 4; ++i) {
            if (i != list) list_[i]->clearSelection();
        }
    }
    lastPressed_ = list;
}

void ProgramWindow::CopySelection(int list) {
    QApplication::beep();
    // Near the list, inside the window.
    const QPoint place = list == 2   ? QPoint(8865, 540)
                         : list == 3 ? QPoint(5760, 2520)
                                     : QPoint(5760, 4320);
    const int width = 3150;
    const int left = std::max(0, std::min(place.x(), OuterWidth() - kFrameWidth - width));
    copiedMessage_->setGeometry(TwipsRect(left, place.y(), width, 330));
    ShowMessageBox(copiedMessage_);
    QGuiApplication::clipboard()->setText(list_[list]->SelectedText());
}

void ProgramWindow::ShowClearingHint() {
    if (!hintDismissed_ && list_[2]->count() > 0 && !clearingHint_->isVisible()) {
        ShowMessageBox(clearingHint_);
    }
}

void ProgramWindow::HideClearingHintOver(QPoint position) {
    // Only a move over the window itself, not one passed up by a control.
    if (clientArea_->childAt(position) == nullptr) clearingHint_->hide();
}

void ProgramWindow::DismissClearingHint() {
    clearingHint_->hide();
    hintDismissed_ = true;
}

}  // namespace kx::ui
