#include "ui/program_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"
#include "ui/conditions_window.h"
#include "ui/control_names.h"
#include "ui/exclusion_window.h"
#include "ui/gauge_window.h"
#include "ui/japanese_font.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

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

QStringList ToQStrings(const std::vector<std::string>& lines, std::size_t from = 0) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size() - std::min(from, lines.size())));
    for (std::size_t i = from; i < lines.size(); ++i) out.append(QString::fromStdString(lines[i]));
    return out;
}

int RaiseComponent(int value, int limit) {
    return std::min(value + 8, limit);
}

void SetHintColour(QLabel* hint, const QColor& colour) {
    hint->setStyleSheet(QString("QLabel { background: %1; color: rgb(0, 0, 128);"
                                " border: 1px solid rgb(0, 0, 128); }")
                            .arg(colour.name()));
}

}  // namespace

ProgramWindow::ProgramWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent),
      workspace_(workspace),
      gauge_(std::make_unique<GaugeWindow>(workspace)) {
    setObjectName("Form33");
    setWindowTitle("プログラム生成");
    setFont(JapaneseFont(9));
    buildMenus();
    buildControls();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(20000);
    connect(&timer1_, &QTimer::timeout, this, &ProgramWindow::timer1Tick);
    timer2_.setObjectName("Timer2");
    timer2_.setInterval(20);
    connect(&timer2_, &QTimer::timeout, this, &ProgramWindow::timer2Tick);
    timer3_.setObjectName("Timer3");
    timer3_.setInterval(5000);
    connect(&timer3_, &QTimer::timeout, this, &ProgramWindow::timer3Tick);

    connect(gauge_.get(), &GaugeWindow::stopPressed, this, &ProgramWindow::gaugeStopped);
    observer_.beforeEvents = [this] { showLogSoFar(); };
    observer_.onFirstCubic = [this] {
        QPalette palette = list_[1]->palette();
        palette.setColor(QPalette::Text, QColor(0, 48, 128));
        list_[1]->setPalette(palette);
    };

    resize(TwipsToPixels(kStartWidth - kFrameWidth),
           TwipsToPixels(kStartHeight - kFrameHeight) + menuBar()->sizeHint().height());
}

ProgramWindow::~ProgramWindow() = default;

void ProgramWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("FILESV");
    outProg_ = file->addAction("Program", this, [this] { requestSave(2); });
    outProg_->setObjectName("OUTPROG");
    outRes_ = file->addAction("Result_Summary", this, [this] { requestSave(3); });
    outRes_->setObjectName("OUTRES");
    allRes_ = file->addAction("ALL_Result", this, [this] { requestSave(4); });
    allRes_->setObjectName("ALLRES");
    file->addSeparator();
    QAction* end = file->addAction("Program End", this, [] { QCoreApplication::exit(0); });
    end->setObjectName("SSEND1");

    QMenu* option = menuBar()->addMenu("Option");
    option->setObjectName("OPT");
    gpp_ = option->addAction("処理結果の描画", this, [this] {
        setEnabled(false);
        emit plotRequested();
    });
    gpp_->setObjectName("GPP");
    QAction* seido = option->addAction("計算処理条件設定", this, &ProgramWindow::openConditions);
    seido->setObjectName("SEIDO");
    QAction* haita = option->addAction("排他座標系", this, &ProgramWindow::openExclusion);
    haita->setObjectName("HAITA");

    // The save and plot windows are not part of this program yet.
    for (QAction* action : {outProg_, outRes_, allRes_, gpp_}) action->setEnabled(false);
}

void ProgramWindow::buildControls() {
    central_ = new QWidget(this);
    central_->setObjectName("Form33Client");
    central_->setMouseTracking(true);
    central_->installEventFilter(this);
    setCentralWidget(central_);

    for (int i = 1; i <= 4; ++i) {
        auto* list = new QListWidget(central_);
        list->setObjectName(QString("List%1").arg(i));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setUniformItemSizes(true);
        list->setFont(JapaneseFont(9));
        list->viewport()->installEventFilter(this);
        list_[i] = list;
    }

    label1_ = new QLabel(kIdleStatus, central_);
    label1_->setObjectName("Label1");
    label1_->setStyleSheet("QLabel { color: rgb(192, 0, 0); }");
    label2_ = new QLabel(central_);
    label2_->setObjectName("Label2");
    label2_->setFrameShape(QFrame::Panel);
    label2_->setFrameShadow(QFrame::Sunken);
    label2_->installEventFilter(this);

    command1_ = new QPushButton("計算開始", central_);
    command1_->setObjectName("Command1");
    command1_->setMouseTracking(true);
    command1_->installEventFilter(this);
    connect(command1_, &QPushButton::clicked, this, &ProgramWindow::command1Click);
    command2_ = new QPushButton("戻 る", central_);
    command2_->setObjectName("Command2");
    connect(command2_, &QPushButton::clicked, this, &ProgramWindow::command2Click);

    for (int i = 0; i < 4; ++i) {
        auto* hint = new QLabel(kAreaHints[i], central_);
        hint->setObjectName(ArrayName("Text2", i));
        hint->setAlignment(Qt::AlignCenter);
        hint->setAttribute(Qt::WA_TransparentForMouseEvents);
        SetHintColour(hint, QColor(255, 255, 192));
        hint->hide();
        areaHint_[i] = hint;
    }
    text3_ = new QLabel(kHintText, central_);
    text3_->setObjectName("Text3");
    text3_->setAlignment(Qt::AlignCenter);
    text3_->setStyleSheet(
        "QLabel { background: rgb(255, 255, 192); color: rgb(0, 0, 160); border: 1px solid; }");
    text3_->installEventFilter(this);
    text3_->hide();
    text1_ = new QLabel(kCopied, central_);
    text1_->setObjectName("Text1");
    text1_->setAlignment(Qt::AlignCenter);
    text1_->setStyleSheet(
        "QLabel { background: rgb(192, 255, 192); color: rgb(0, 96, 0); border: 1px solid; }");
    text1_->hide();
}

int ProgramWindow::outerWidth() const {
    return static_cast<int>(PixelsToTwips(central_->width())) + kFrameWidth;
}

int ProgramWindow::outerHeight() const {
    return static_cast<int>(PixelsToTwips(central_->height())) + kFrameHeight;
}

void ProgramWindow::arrange() {
    const int w = outerWidth();
    const int h = outerHeight();
    if (h - 4860 <= 10 || h - 1770 <= 10) return;
    const int listWidth = w - 2610;
    const int rightLeft = listWidth + 30;
    const int rightWidth = std::max(w - kFrameWidth - rightLeft - 30, 300);
    list_[2]->setGeometry(TwipsRect(rightLeft, 0, rightWidth, h - 1545));
    applyLeftColumn();

    command1_->setGeometry(TwipsRect(w - 2400, h - 1140, 1215, 330));
    command2_->setGeometry(TwipsRect(w - 1110, h - 1140, 975, 330));
    label1_->setGeometry(TwipsRect(w - 2355, h - 1440, 2220, 270));
    label2_->setGeometry(TwipsRect(rightLeft, h - 1140, 150, 330));

    areaHint_[0]->setGeometry(TwipsRect(240, 240, 2700, 330));
    areaHint_[1]->setGeometry(TwipsRect(rightLeft + 60, 600, rightWidth - 120, 330));
    areaHint_[2]->setGeometry(TwipsRect(240, kList3Top + 240, 2700, 330));
    areaHint_[3]->setGeometry(TwipsRect(240, kList4Top + 240, 2700, 330));
    text3_->setGeometry(TwipsRect(std::max(w - 5700, 0), h - 1500, 3150, 330));
}

// The left column in its normal or enlarged view. An enlarged list keeps the
// whole client height when the window is resized.
void ProgramWindow::applyLeftColumn() {
    const int w = outerWidth();
    const int h = outerHeight();
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
        QListWidget* list = list_[p.list];
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

void ProgramWindow::toggleEnlarged(int list) {
    const bool enlarge = !enlarged_[list];
    enlarged_ = {};
    enlarged_[list] = enlarge;
    applyLeftColumn();
}

void ProgramWindow::openFrom(QWidget* opener) {
    opener_ = opener;
    if (opener != nullptr) opener->setEnabled(false);
    timer1_.stop();
    timer2_.stop();
    if (!hintsShown_) {
        hintsShown_ = true;
        showAreaHints();
    }
    label1_->setText(kIdleStatus);
    command1_->setText(idleCaption());
    workspace_.settings.cutoffPrecision = core::kStandardCutoffPrecision;
    timer3_.start();
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

QString ProgramWindow::idleCaption() const {
    return list_[1]->count() > 0 ? "再計算開始" : "計算開始";
}

void ProgramWindow::showAreaHints() {
    for (int i = 0; i < 2; ++i) {
        hintColour_[i] = kHintStart[i];
        SetHintColour(areaHint_[i], hintColour_[i]);
    }
    for (QLabel* hint : areaHint_) {
        hint->show();
        hint->raise();
    }
    timer2_.start();
    timer1_.start();
}

void ProgramWindow::hideAreaHints() {
    for (QLabel* hint : areaHint_) hint->hide();
    timer1_.stop();
    timer2_.stop();
}

void ProgramWindow::timer1Tick() {
    hideAreaHints();
    emit panelTimersStopRequested();
}

void ProgramWindow::timer2Tick() {
    bool rising = false;
    for (int i = 0; i < 2; ++i) {
        const QColor& limit = kHintLimit[i];
        QColor& c = hintColour_[i];
        c.setRgb(RaiseComponent(c.red(), limit.red()), RaiseComponent(c.green(), limit.green()),
                 RaiseComponent(c.blue(), limit.blue()));
        SetHintColour(areaHint_[i], c);
        rising = rising || c != limit;
    }
    if (!rising) timer2_.stop();
}

void ProgramWindow::timer3Tick() {
    text3_->hide();
    text1_->hide();
}

void ProgramWindow::command1Click() {
    if (running_) return;
    hideAreaHints();
    emit panelTimersStopRequested();
    for (int i = 1; i <= 4; ++i) list_[i]->clear();

    command1_->setText("実行中");
    label1_->setText("計算しています");
    setEnabled(false);
    running_ = true;
    const bool withGauge = workspace_.data.progressTotal > 29;
    if (withGauge) {
        gauge_->clearGauge();
        gauge_->startGauge();
    }
    observer_.begin();
    QCoreApplication::processEvents();
    ClearUpperVectorState();
    const bool completed =
        core::FitAndGenerate(workspace_.data, workspace_.settings, workspace_.results, &observer_);
    running_ = false;

    if (!completed || observer_.stopRequest()) {
        // The gauge's stop button has already given the window back; the
        // lists keep what the run wrote before it stopped.
        observer_.clearStop();
        showLogSoFar();
        list_[3]->addItems(ToQStrings(workspace_.results.summary));
        return;
    }
    setEnabled(true);
    gauge_->stopGauge();
    label1_->setText(kIdleStatus);
    fillResults();
    command1_->setText(idleCaption());
}

void ProgramWindow::showLogSoFar() {
    // List1 holds only log lines, so its count is what has been shown.
    const std::vector<std::string>& log = workspace_.results.fittingLog;
    const auto shown = static_cast<std::size_t>(list_[1]->count());
    if (shown >= log.size()) return;
    list_[1]->addItems(ToQStrings(log, shown));
}

void ProgramWindow::fillResults() {
    showLogSoFar();
    const core::FitResults& results = workspace_.results;
    list_[3]->addItems(ToQStrings(results.summary));
    list_[4]->addItems(ToQStrings(results.program));
    const core::ResultDetails details =
        core::DescribeResults(workspace_.data, workspace_.settings, results);
    list_[2]->addItems(ToQStrings(details.lines));
}

void ProgramWindow::gaugeStopped() {
    observer_.requestStop();
    setEnabled(true);
    gauge_->stopGauge();
    label1_->setText("GO ﾎﾞﾀﾝを押して下さい");
    command1_->setText("GO");
}

void ProgramWindow::command2Click() {
    close();
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    // Closing by the window's frame returns like "戻 る", so that the window
    // that asked for program generation is never left disabled.
    QGuiApplication::clipboard()->clear();
    timer1_.stop();
    timer2_.stop();
    timer3_.stop();
    event->accept();
    QWidget* opener = opener_;
    if (opener != nullptr) {
        opener->setEnabled(true);
        opener->show();
        opener->raise();
        opener->activateWindow();
    }
    emit returned(opener);
}

void ProgramWindow::openConditions() {
    if (!conditions_) conditions_ = std::make_unique<ConditionsWindow>(workspace_);
    conditions_->openFrom(this);
}

void ProgramWindow::openExclusion() {
    if (!exclusion_) exclusion_ = std::make_unique<ExclusionWindow>(workspace_);
    exclusion_->openFrom(this);
}

void ProgramWindow::requestSave(int saveKind) {
    workspace_.data.saveKind = static_cast<int16_t>(saveKind);
    setEnabled(false);
    emit saveRequested(saveKind);
}

void ProgramWindow::listPressed(int list) {
    if (lastPressed_ != list) {
        for (int i = 1; i <= 4; ++i) {
            if (i != list) list_[i]->clearSelection();
        }
    }
    lastPressed_ = list;
}

void ProgramWindow::copySelection(int list) {
    QApplication::beep();
    QListWidget* widget = list_[list];
    QString text;
    for (int row = 0; row < widget->count(); ++row) {
        const QListWidgetItem* item = widget->item(row);
        if (item->isSelected()) text += item->text() + "\r\n";
    }
    // Near the list, inside the window.
    const QPoint place = list == 2   ? QPoint(8865, 540)
                         : list == 3 ? QPoint(5760, 2520)
                                     : QPoint(5760, 4320);
    const int width = 3150;
    const int left = std::max(0, std::min(place.x(), outerWidth() - kFrameWidth - width));
    text1_->setGeometry(TwipsRect(left, place.y(), width, 330));
    text1_->show();
    text1_->raise();
    timer3_.start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

bool ProgramWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == central_) {
        if (type == QEvent::Resize) arrange();
        // Only a move over the window itself, not one passed up by a control.
        if (type == QEvent::MouseMove &&
            central_->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr) {
            text3_->hide();
        }
        return false;
    }
    for (int i = 1; i <= 4; ++i) {
        if (watched != list_[i]->viewport()) continue;
        if (type == QEvent::MouseButtonPress) {
            listPressed(i);
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && i != 1) {
                copySelection(i);
                return true;  // the selection to copy stays as it is
            }
        } else if (type == QEvent::MouseButtonDblClick && i != 2 &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            toggleEnlarged(i);
            return true;
        }
        return false;
    }
    if (watched == command1_ && (type == QEvent::Enter || type == QEvent::MouseMove)) {
        if (!hintDismissed_ && list_[2]->count() > 0 && !text3_->isVisible()) {
            text3_->show();
            text3_->raise();
            timer3_.start();
        }
    } else if (watched == text3_ && type == QEvent::MouseButtonPress) {
        text3_->hide();
        hintDismissed_ = true;
        return true;
    } else if (watched == label2_ && type == QEvent::MouseButtonDblClick) {
        if (outProg_->isEnabled()) requestSave(5);
        return true;
    }
    return false;
}

}  // namespace kx::ui
