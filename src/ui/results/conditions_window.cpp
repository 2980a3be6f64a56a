#include "ui/results/conditions_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/fitting/calc_settings.h"
#include "ui/results/results_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::conditions;

const char* const kInputError = "入力ｴﾗｰ";
const char* const kModeLabels[3] = {"ﾓｰﾄﾞ0：最高誤差(ｾｸｼｮﾝ内)", "ﾓｰﾄﾞ1：全ての計算誤差の平均",
                                    "ﾓｰﾄﾞ2：上位２誤差の平均"};

QString PrecisionText(float value) {
    return QString::fromStdString(core::SingleToPlainText(value));
}

QString GrText(float grade) {
    return "Gr = " + QString::fromStdString(core::SingleToPlainText(grade));
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// A mode text as the 16-bit mode, saturated instead of overflowing.
int16_t ModeOfText(const QString& text) {
    const double value = core::ValueOfText(Utf8(text));
    if (std::isnan(value)) return 0;
    return static_cast<int16_t>(
        std::clamp(core::RoundHalfEven(std::clamp(value, -4e4, 4e4)), -32768L, 32767L));
}

QLabel* ErrorLabel(QWidget* parent, const char* name, QRect place) {
    QLabel* label = NamedLabel(parent, name, kInputError, place);
    SetTextColour(label, QColor(255, 0, 0));
    SetBold(label);
    label->hide();
    return label;
}

}  // namespace

ConditionsWindow::ConditionsWindow(Workspace& workspace, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("計算処理条件設定")),
      workspace_(workspace) {
    setFixedSize(TwipsToPixels(6000), TwipsToPixels(5700));
    Title(this, n::kTitle, "処理条件入力", TwipsRect(240, 120, 3000, 330));

    auto* modeFrame = new QGroupBox("計算誤差評価方法の設定", this);
    modeFrame->setObjectName(n::kModeFrame);
    modeFrame->setGeometry(TwipsRect(240, 480, 5520, 1980));
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(kModeLabels[i], modeFrame);
        option->setObjectName(ArrayName(n::kModeOption, i));
        option->setGeometry(TwipsRect(180, 330 + 360 * i, 3600, 330));
        modeOption_[i] = option;
    }
    Caption(modeFrame, "現在モード", TwipsRect(180, 1500, 1200, 330));
    modeLabel_ = NamedLabel(modeFrame, n::kModeLabel, QString(), TwipsRect(1380, 1500, 600, 330));
    modeBox_ = Box(modeFrame, n::kModeBox, TwipsRect(2100, 1470, 800, 360));
    modeError_ = ErrorLabel(modeFrame, n::kModeError, TwipsRect(3000, 1500, 1500, 330));

    auto* precisionFrame = new QGroupBox("計算打切精度（相対誤差）の設定", this);
    precisionFrame->setObjectName(n::kPrecisionFrame);
    precisionFrame->setGeometry(TwipsRect(240, 2580, 5520, 1500));
    precisionBox_ = Box(precisionFrame, n::kPrecisionBox, TwipsRect(180, 360, 1800, 360));
    precisionError_ =
        ErrorLabel(precisionFrame, n::kPrecisionError, TwipsRect(2100, 390, 1500, 330));
    Caption(precisionFrame, "現在値", TwipsRect(180, 900, 900, 330));
    precisionLabel_ =
        NamedLabel(precisionFrame, n::kPrecisionLabel, QString(), TwipsRect(1080, 900, 1800, 330));
    gradeLabel_ =
        NamedLabel(precisionFrame, n::kGradeLabel, QString(), TwipsRect(3000, 900, 2300, 330));

    // Beyond the system's conditions: sections of at least so many points.
    Caption(this, "区間の最小点数", TwipsRect(420, 4230, 2000, 330));
    minSectionBox_ = Box(this, n::kMinSectionBox, TwipsRect(2460, 4200, 800, 360));
    minSectionBox_->setToolTip(QStringLiteral("3～10 (標準 3)"));
    minSectionError_ = ErrorLabel(this, n::kMinSectionError, TwipsRect(3420, 4230, 1500, 330));

    auto* standard = Button(this, n::kStandardButton, "標準値", TwipsRect(240, 4860, 1500, 450));
    auto* accept = Button(this, n::kAcceptButton, "ＯＫ", TwipsRect(2700, 4860, 1400, 450));
    auto* cancel = Button(this, n::kCancelButton, "ｷｬﾝｾﾙ", TwipsRect(4260, 4860, 1400, 450));

    for (int i = 0; i < 3; ++i) {
        connect(modeOption_[i], &QRadioButton::clicked, this, [this, i] { ChooseMode(i); });
    }
    connect(modeBox_, &QLineEdit::textChanged, this, &ConditionsWindow::ModeEdited);
    connect(precisionBox_, &QLineEdit::textChanged, this, &ConditionsWindow::PrecisionEdited);
    connect(minSectionBox_, &QLineEdit::textChanged, this, &ConditionsWindow::MinSectionEdited);
    connect(&WidgetEvents::Of(modeBox_), &WidgetEvents::focusLost, this, [this] {
        modeError_->hide();
        precisionError_->hide();
    });
    connect(&WidgetEvents::Of(precisionBox_), &WidgetEvents::focusLost, this,
            &ConditionsWindow::PrecisionBoxLeft);
    connect(standard, &QPushButton::clicked, this, &ConditionsWindow::SetStandardValues);
    connect(accept, &QPushButton::clicked, this, &ConditionsWindow::AcceptSettings);
    // An unchecked way back restores the values held at opening.
    connect(cancel, &QPushButton::clicked, this, &ConditionsWindow::ReturnToOpener);
}

void ConditionsWindow::Opening() {
    const core::CalcSettings& settings = workspace_.settings;
    heldMode_ = settings.errorMode;
    heldPrecision_ = settings.cutoffPrecision;
    heldMinSection_ = settings.minSectionPoints;
    modeError_->hide();
    precisionError_->hide();
    minSectionError_->hide();
    minSectionBox_->setText(QString::number(settings.minSectionPoints));
    ShowPrecision(settings.cutoffPrecision);
    precisionBox_->setText(PrecisionText(settings.cutoffPrecision));
    modeBox_->setText(QString::number(settings.errorMode));
    if (settings.errorMode >= 0 && settings.errorMode <= 2) {
        modeOption_[static_cast<std::size_t>(settings.errorMode)]->setChecked(true);
    }
}

void ConditionsWindow::ShowPrecision(float precision) {
    const std::optional<float> grade = core::Gr(precision);
    if (!grade || !std::isfinite(*grade)) return;
    precisionLabel_->setText(PrecisionText(precision));
    gradeLabel_->setText(GrText(*grade));
}

void ConditionsWindow::ChooseMode(int mode) {
    workspace_.settings.errorMode = static_cast<int16_t>(mode);
    modeBox_->setText(QString::number(mode));
}

void ConditionsWindow::ModeEdited(const QString& text) {
    workspace_.settings.errorMode = ModeOfText(text);
    modeLabel_->setText(QString::number(workspace_.settings.errorMode));
}

void ConditionsWindow::PrecisionEdited(const QString& text) {
    const double value = core::ValueOfText(Utf8(text));
    // A value a 32-bit float cannot hold is left out; the accept button
    // refuses its text anyway.
    if (!core::FitsSingle(value)) return;
    workspace_.settings.cutoffPrecision = static_cast<float>(value);
    ShowPrecision(workspace_.settings.cutoffPrecision);
}

void ConditionsWindow::MinSectionEdited(const QString& text) {
    if (const std::optional<int16_t> points = core::CheckedMinSection(Utf8(text))) {
        workspace_.settings.minSectionPoints = *points;
        minSectionError_->hide();
    }
}

void ConditionsWindow::PrecisionBoxLeft() {
    if (core::IsNumericText(core::Trimmed(Utf8(precisionBox_->text())))) precisionError_->hide();
}

void ConditionsWindow::SetStandardValues() {
    workspace_.settings.cutoffPrecision = core::kStandardCutoffPrecision;
    precisionBox_->setText(PrecisionText(core::kStandardCutoffPrecision));
    ShowPrecision(core::kStandardCutoffPrecision);
    modeOption_[core::kStandardErrorMode]->setChecked(true);
    ChooseMode(core::kStandardErrorMode);
    minSectionBox_->setText(QString::number(core::kStandardMinSection));
}

void ConditionsWindow::AcceptSettings() {
    const std::optional<float> precision =
        core::CheckedCutoffPrecision(Utf8(precisionBox_->text()));
    precisionError_->setVisible(!precision);
    const std::optional<int16_t> mode = core::CheckedErrorMode(Utf8(modeBox_->text()));
    modeError_->setVisible(!mode);
    const std::optional<int16_t> minSection =
        core::CheckedMinSection(Utf8(minSectionBox_->text()));
    minSectionError_->setVisible(!minSection);
    if (!precision || !mode || !minSection) return;
    // The accepted values are the ones the way back keeps.
    heldPrecision_ = *precision;
    heldMode_ = *mode;
    heldMinSection_ = *minSection;
    ReturnToOpener();
}

void ConditionsWindow::Returning() {
    precisionBox_->setText(PrecisionText(heldPrecision_));
    modeBox_->setText(QString::number(heldMode_));
    // The text edits above commit as they go; the held values are final.
    workspace_.settings.errorMode = heldMode_;
    workspace_.settings.cutoffPrecision = heldPrecision_;
    workspace_.settings.minSectionPoints = heldMinSection_;
    minSectionBox_->setText(QString::number(heldMinSection_));
    precisionError_->hide();
    minSectionError_->hide();
}

}  // namespace kx::ui
