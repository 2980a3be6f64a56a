#include "ui/conditions_window.h"

#include <QCloseEvent>
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
#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/japanese_font.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

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

QLabel* ErrorLabel(QWidget* parent, const char* name, const QRect& place) {
    auto* label = new QLabel(kInputError, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setStyleSheet("QLabel { color: rgb(255, 0, 0); font-weight: bold; }");
    label->hide();
    return label;
}

}  // namespace

ConditionsWindow::ConditionsWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName("Form29");
    setWindowTitle("計算処理条件設定");
    setFont(JapaneseFont(9));
    setFixedSize(TwipsToPixels(6000), TwipsToPixels(5100));

    auto* title = new QLabel("処理条件入力", this);
    title->setObjectName("Label1");
    title->setGeometry(TwipsRect(240, 120, 3000, 330));
    title->setStyleSheet("QLabel { color: rgb(0, 0, 160); font-weight: bold; }");

    auto* frame2 = new QGroupBox("計算誤差評価方法の設定", this);
    frame2->setObjectName("Frame2");
    frame2->setGeometry(TwipsRect(240, 480, 5520, 1980));
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(kModeLabels[i], frame2);
        option->setObjectName(ArrayName("Option1", i));
        option->setGeometry(TwipsRect(180, 330 + 360 * i, 3600, 330));
        connect(option, &QRadioButton::clicked, this, [this, i] { optionChosen(i); });
        option1_[i] = option;
    }
    Caption(frame2, "現在モード", TwipsRect(180, 1500, 1200, 330));
    label3_ = new QLabel(frame2);
    label3_->setObjectName("Label3");
    label3_->setGeometry(TwipsRect(1380, 1500, 600, 330));
    text1_ = Box(frame2, "Text1", TwipsRect(2100, 1470, 800, 360));
    text1_->installEventFilter(this);
    connect(text1_, &QLineEdit::textChanged, this, &ConditionsWindow::modeEdited);
    label5_ = ErrorLabel(frame2, "Label5", TwipsRect(3000, 1500, 1500, 330));

    auto* frame1 = new QGroupBox("計算打切精度（相対誤差）の設定", this);
    frame1->setObjectName("Frame1");
    frame1->setGeometry(TwipsRect(240, 2580, 5520, 1500));
    text2_ = Box(frame1, "Text2", TwipsRect(180, 360, 1800, 360));
    text2_->installEventFilter(this);
    connect(text2_, &QLineEdit::textChanged, this, &ConditionsWindow::precisionEdited);
    label7_ = ErrorLabel(frame1, "Label7", TwipsRect(2100, 390, 1500, 330));
    Caption(frame1, "現在値", TwipsRect(180, 900, 900, 330));
    label9_ = new QLabel(frame1);
    label9_->setObjectName("Label9");
    label9_->setGeometry(TwipsRect(1080, 900, 1800, 330));
    label6_ = new QLabel(frame1);
    label6_->setObjectName("Label6");
    label6_->setGeometry(TwipsRect(3000, 900, 2300, 330));

    auto* standard = Button(this, "Command2", "標準値", TwipsRect(240, 4260, 1500, 450));
    connect(standard, &QPushButton::clicked, this, &ConditionsWindow::command2Click);
    auto* accept = Button(this, "Command1", "ＯＫ", TwipsRect(2700, 4260, 1400, 450));
    connect(accept, &QPushButton::clicked, this, &ConditionsWindow::command1Click);
    auto* cancel = Button(this, "Command3", "ｷｬﾝｾﾙ", TwipsRect(4260, 4260, 1400, 450));
    connect(cancel, &QPushButton::clicked, this, &ConditionsWindow::command3Click);
}

void ConditionsWindow::openFrom(QWidget* opener) {
    opener_ = opener;
    if (opener != nullptr) opener->setEnabled(false);
    const core::CalcSettings& settings = workspace_.settings;
    savedMode_ = settings.errorMode;
    savedPrecision_ = settings.cutoffPrecision;
    label5_->hide();
    label7_->hide();
    showPrecision(settings.cutoffPrecision);
    text2_->setText(PrecisionText(settings.cutoffPrecision));
    text1_->setText(QString::number(settings.errorMode));
    if (settings.errorMode >= 0 && settings.errorMode <= 2) {
        option1_[static_cast<std::size_t>(settings.errorMode)]->setChecked(true);
    }
    closingChecked_ = false;
    show();
    raise();
    activateWindow();
}

void ConditionsWindow::showPrecision(float precision) {
    const std::optional<float> grade = core::Gr(precision);
    if (!grade || !std::isfinite(*grade)) return;
    label9_->setText(PrecisionText(precision));
    label6_->setText(GrText(*grade));
}

void ConditionsWindow::optionChosen(int mode) {
    workspace_.settings.errorMode = static_cast<int16_t>(mode);
    text1_->setText(QString::number(mode));
}

void ConditionsWindow::modeEdited(const QString& text) {
    workspace_.settings.errorMode = ModeOfText(text);
    label3_->setText(QString::number(workspace_.settings.errorMode));
}

void ConditionsWindow::precisionEdited(const QString& text) {
    const double value = core::ValueOfText(Utf8(text));
    // A value a 32-bit float cannot hold is left out; the accept button
    // refuses its text anyway.
    if (!core::FitsSingle(value)) return;
    workspace_.settings.cutoffPrecision = static_cast<float>(value);
    showPrecision(workspace_.settings.cutoffPrecision);
}

void ConditionsWindow::command2Click() {
    workspace_.settings.cutoffPrecision = core::kStandardCutoffPrecision;
    text2_->setText(PrecisionText(core::kStandardCutoffPrecision));
    showPrecision(core::kStandardCutoffPrecision);
    option1_[core::kStandardErrorMode]->setChecked(true);
    optionChosen(core::kStandardErrorMode);
}

void ConditionsWindow::command1Click() {
    const std::optional<float> precision = core::CheckedCutoffPrecision(Utf8(text2_->text()));
    if (precision) {
        workspace_.settings.cutoffPrecision = *precision;
        label7_->hide();
    } else {
        label7_->show();
    }
    const std::optional<int16_t> mode = core::CheckedErrorMode(Utf8(text1_->text()));
    if (mode) {
        workspace_.settings.errorMode = *mode;
        label5_->hide();
    } else {
        label5_->show();
    }
    if (precision && mode) finish();
}

void ConditionsWindow::command3Click() {
    close();  // an unchecked close restores the values held at opening
}

void ConditionsWindow::restoreSaved() {
    text2_->setText(PrecisionText(savedPrecision_));
    text1_->setText(QString::number(savedMode_));
    // The text edits above commit as they go; the saved values are final.
    workspace_.settings.errorMode = savedMode_;
    workspace_.settings.cutoffPrecision = savedPrecision_;
    label7_->hide();
}

void ConditionsWindow::finish() {
    closingChecked_ = true;
    close();
}

void ConditionsWindow::closeEvent(QCloseEvent* event) {
    // The frame's close button is a cancel.
    if (!closingChecked_) restoreSaved();
    closingChecked_ = false;
    if (opener_ != nullptr) opener_->setEnabled(true);
    event->accept();
}

bool ConditionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == text1_) {
            label5_->hide();
            label7_->hide();
        } else if (watched == text2_ && core::IsNumericText(core::Trimmed(Utf8(text2_->text())))) {
            label7_->hide();
        }
    }
    return false;
}

}  // namespace kx::ui
