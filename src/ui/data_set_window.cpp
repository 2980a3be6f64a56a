#include "ui/data_set_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/data/preparation.h"
#include "core/data/text_chars.h"
#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/digitizer_panel.h"
#include "ui/japanese_font.h"
#include "ui/main_window.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

constexpr int kBoxLeft = 45, kBoxTop = 930, kBoxWidth = 2655, kBoxHeight = 1710;
constexpr int kBoxTallHeight = 5460;
const QColor kMagenta(255, 0, 255);
const QColor kQbBlue(0, 0, 128);  // QBColor 1

QString BoxText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string DataText(const QString& boxText) {
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

struct PreparationMessage {
    int state;
    const char* text;
    int width;
};
constexpr PreparationMessage kMessages[] = {
    {core::kGapInLines, "データが無いパラメータ存在", 2505},
    {core::kMissingXOrY, "X,Yデータがどちらか欠損", 2235},
    {core::kNotNumeric, "数値として判断されない", 2235},
    {core::kTooFewPoints, "データが少ない", 1425},
    {core::kNoData, "データが無い", 1275},
    {core::kParameterNotNumeric, "パラメータが数値でない", 2235},
};

}  // namespace

DataSetWindow::DataSetWindow(Workspace& workspace, DigitizerPanel& panel, MainWindow& mainWindow)
    : QWidget(nullptr, Qt::Window), workspace_(workspace), panel_(panel), mainWindow_(mainWindow) {
    setObjectName("Form21");
    setWindowTitle("DataSet");
    setFont(JapaneseFont(9));
    setMouseTracking(true);
    BuildControls();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &DataSetWindow::onTrackTick);
    timer2_.setObjectName("Timer2");
    timer2_.setInterval(7000);
    connect(&timer2_, &QTimer::timeout, this, &DataSetWindow::onMessageTick);
    // Timer1 runs from the window's load; Timer2 waits for a message.
    timer1_.start();
}

void DataSetWindow::BuildControls() {
    setFixedSize(TwipsToPixels(2760), TwipsToPixels(7260));

    auto* heading = Caption(this, "採取データの表示", TwipsRect(60, 30, 2655, 285));
    heading->setObjectName("Label1");

    Caption(this, "Line", TwipsRect(60, 375, 450, 285));
    text5_ = Box(this, "Text5", TwipsRect(510, 360, 450, 285));
    text5_->setReadOnly(true);
    Caption(this, "Point", TwipsRect(1080, 375, 540, 285));
    text6_ = Box(this, "Text6", TwipsRect(1620, 360, 600, 285));
    text6_->setReadOnly(true);
    Caption(this, "Parameter(Y)", TwipsRect(60, 675, 1200, 285));
    text2_ = Box(this, "Text2", TwipsRect(1260, 660, 1440, 285));
    text2_->installEventFilter(this);

    auto* group = new QButtonGroup(this);
    for (int i = 0; i < core::kMaxLines; ++i) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(ArrayName("Text1", i));
        box->setGeometry(TwipsRect(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->viewport()->installEventFilter(this);
        box->hide();
        connect(box, &QPlainTextEdit::textChanged, this, [this, i] { OnPointBoxEdited(i); });
        text1_[i] = box;

        const QString label =
            i < 9 ? QStringLiteral("Line %1").arg(i + 1) : QStringLiteral("Line10");
        auto* option = new QRadioButton(label, this);
        option->setObjectName(ArrayName("Option1", i));
        const int column = i / 5;
        option->setGeometry(TwipsRect(120 + column * 1320, 2700 + (i % 5) * 255, 1200, 255));
        group->addButton(option, i);
        connect(option, &QRadioButton::clicked, this, [this, i] { OnLineOption(i); });
        option1_[i] = option;
    }
    ColourLineLabels(-1);

    text8_ = Box(this, "Text8", TwipsRect(45, 4020, 1305, 285));
    text9_ = Box(this, "Text9", TwipsRect(1395, 4020, 1305, 285));
    text8_->setReadOnly(true);
    text9_->setReadOnly(true);

    auto* command6 = Button(this, "Command6", "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成", TwipsRect(45, 4380, 2655, 375));
    auto* command1 = Button(this, "Command1", "全 保 存", TwipsRect(45, 4800, 1305, 375));
    auto* command3 = Button(this, "Command3", "選択保存", TwipsRect(1395, 4800, 1305, 375));
    auto* command4 = Button(this, "Command4", "選択Lineﾘｾｯﾄ", TwipsRect(45, 5580, 1305, 375));
    auto* command2 = Button(this, "Command2", "全Lineﾘｾｯﾄ", TwipsRect(1395, 5580, 1305, 375));
    command7_ = Button(this, "Command7", "数値ﾃﾞｰﾀの呼込み", TwipsRect(45, 6000, 2655, 375));
    command5_ = Button(this, "Command5", "戻 る", TwipsRect(45, 6420, 2655, 330));
    // The load window for numeric data is not part of this build yet.
    command7_->setEnabled(false);
    command5_->installEventFilter(this);
    connect(command6, &QPushButton::clicked, this, &DataSetWindow::GenerateProgram);
    connect(command1, &QPushButton::clicked, this, &DataSetWindow::SaveAll);
    connect(command3, &QPushButton::clicked, this, &DataSetWindow::SaveSelected);
    connect(command4, &QPushButton::clicked, this, &DataSetWindow::ResetSelectedLine);
    connect(command2, &QPushButton::clicked, this, &DataSetWindow::ResetAllLines);
    connect(command5_, &QPushButton::clicked, this, &DataSetWindow::ReturnToPanel);

    text3_ = new QLabel(this);
    text3_->setObjectName("Text3");
    text3_->setAutoFillBackground(true);
    text3_->setMouseTracking(true);
    text3_->installEventFilter(this);
    text3_->hide();
}

// --- line selection ---------------------------------------------------------

int DataSetWindow::SelectedOption() const {
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (option1_[i]->isChecked()) return i;
    }
    return -1;
}

void DataSetWindow::ColourLineLabels(int selected) {
    for (int i = 0; i < core::kMaxLines; ++i) {
        QPalette palette = option1_[i]->palette();
        const bool on = i == selected;
        palette.setColor(QPalette::WindowText, on ? QColor(0, 0, 255) : QColor(12, 0, 0));
        option1_[i]->setPalette(palette);
        QFont font = option1_[i]->font();
        font.setBold(on);
        option1_[i]->setFont(font);
    }
}

void DataSetWindow::ShowOnlyPointBox(int index) {
    for (int i = 0; i < core::kMaxLines; ++i) text1_[i]->setVisible(i == index);
    if (index >= 0) text1_[index]->raise();
}

void DataSetWindow::SelectLine(int index) {
    option1_[index]->setChecked(true);
    OnLineOption(index);
}

void DataSetWindow::OnLineOption(int index) {
    // Clicking an option takes the focus from the parameter box: its edit
    // belongs to the line it was typed for.
    CommitParameter();
    core::DataSet& ds = workspace_.data;
    const int line = index + 1;
    if (ds.captureMode == 1) {
        ShowOnlyPointBox(index);
        ColourLineLabels(index);
        ds.captureLine = static_cast<int16_t>(line);
        ShowPointCount(ds.pointCount[line]);
        if (ds.parameterText[line].empty()) ds.parameterText[line] = " " + std::to_string(line);
        ShowParameter(ds.parameterText[line]);
        panel_.lineOption(index)->setChecked(true);
        ShowLineNumber(line);
        raise();
    }
    ds.parameterLine = static_cast<int16_t>(line);
}

void DataSetWindow::FollowPanelLine(int index, bool selected) {
    if (selected) {
        option1_[index]->setChecked(true);
        OnLineOption(index);
        return;
    }
    // Clearing an exclusive group needs the exclusivity lifted for a moment.
    option1_[index]->group()->setExclusive(false);
    option1_[index]->setChecked(false);
    option1_[index]->group()->setExclusive(true);
}

void DataSetWindow::onTrackTick() {
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (panel_.lineOption(i)->isChecked())
            workspace_.data.captureLine = static_cast<int16_t>(i + 1);
    }
}

void DataSetWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) timer1_.start();
}

// --- boxes -------------------------------------------------------------------

void DataSetWindow::EmptyPointBoxes() {
    for (int line = 1; line <= core::kMaxLines; ++line) ShowPointText(line, "");
}

void DataSetWindow::StackPointBoxes() {
    for (QPlainTextEdit* box : text1_)
        box->setGeometry(TwipsRect(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight));
}

void DataSetWindow::ShowPointText(int line, const std::string& text) {
    QPlainTextEdit* box = text1_[line - 1];
    const QString shown = BoxText(text);
    if (box->toPlainText() == shown) return;
    showingOwnText_ = true;
    box->setPlainText(shown);
    box->moveCursor(QTextCursor::End);
    showingOwnText_ = false;
}

void DataSetWindow::ShowPointCount(int count) {
    text6_->setText(QString::number(count));
}

void DataSetWindow::ShowLineNumber(int line) {
    text5_->setText(QString::number(line));
}

void DataSetWindow::ShowParameter(const std::string& text) {
    text2_->setText(QString::fromStdString(text));
}

void DataSetWindow::SetLiveValues(const QString& x, const QString& y) {
    text8_->setText(x);
    text9_->setText(y);
}

void DataSetWindow::OnPointBoxEdited(int index) {
    if (showingOwnText_) return;
    const int line = index + 1;
    core::DataSet& ds = workspace_.data;
    const std::string cleaned =
        core::SetPointText(ds, line, DataText(text1_[index]->toPlainText()));
    ShowPointCount(ds.pointCount[line]);
    if (BoxText(cleaned) != text1_[index]->toPlainText()) {
        const int position = text1_[index]->textCursor().position();
        ShowPointText(line, cleaned);
        QTextCursor cursor = text1_[index]->textCursor();
        cursor.setPosition(std::min(position, static_cast<int>(BoxText(cleaned).size())));
        text1_[index]->setTextCursor(cursor);
    }
}

void DataSetWindow::RefreshPointBoxesFromData() {
    for (int line = 1; line <= core::kMaxLines; ++line)
        ShowPointText(line, workspace_.data.pointText[line]);
}

void DataSetWindow::CommitParameter() {
    core::DataSet& ds = workspace_.data;
    if (ds.parameterEdited == 0) return;
    core::SetParameterText(ds, ds.parameterLine, text2_->text().toStdString());
    ds.parameterEdited = 0;
}

// --- resets --------------------------------------------------------------------

void DataSetWindow::ResetSelectedLine() {
    const int index = SelectedOption();
    if (index < 0) return;
    core::ResetLine(workspace_.data, index + 1);
    ShowPointText(index + 1, "");
    ShowPointCount(0);
    ShowParameter(workspace_.data.parameterText[index + 1]);
}

void DataSetWindow::ResetAllLines() {
    for (int line = 1; line <= core::kMaxLines; ++line) {
        core::ResetLine(workspace_.data, line);
        ShowPointText(line, "");
    }
    ShowPointCount(0);
    option1_[0]->setChecked(true);
    panel_.lineOption(0)->setChecked(true);
    ShowParameter(workspace_.data.parameterText[1]);
    ShowLineNumber(1);
    if (workspace_.data.captureMode == 1) {
        ShowOnlyPointBox(0);
        ColourLineLabels(0);
        workspace_.data.captureLine = 1;
    }
    workspace_.data.parameterLine = 1;
}

// --- preparation -------------------------------------------------------------

bool DataSetWindow::OpensProgramWindow() const {
    return isSignalConnected(QMetaMethod::fromSignal(&DataSetWindow::programGenerationRequested));
}

bool DataSetWindow::OpensSaveWindow() const {
    return isSignalConnected(QMetaMethod::fromSignal(&DataSetWindow::saveRequested));
}

bool DataSetWindow::RunPreparation() {
    CommitParameter();
    panel_.StopLiveTimer();
    timer1_.stop();
    const int16_t state = core::PrepareDataSet(workspace_.data);
    // The preparation may have completed the last text line of a point text.
    RefreshPointBoxesFromData();
    const int line = workspace_.data.parameterLine;
    if (line >= 1 && line <= core::kMaxLines) ShowParameter(workspace_.data.parameterText[line]);
    if (state != core::kPrepared) {
        ShowPreparationMessage(state);
        return false;
    }
    HideMessage();
    return true;
}

void DataSetWindow::GenerateProgram() {
    if (!RunPreparation() || workspace_.data.prepareForSave != 0) return;
    // Without a program window to open the window stays usable.
    if (!OpensProgramWindow()) return;
    if (mainWindow_.isVisible()) mainWindow_.setEnabled(false);
    setEnabled(false);
    emit programGenerationRequested(this);
}

void DataSetWindow::SaveAll() {
    Save(0, 0);
}

void DataSetWindow::SaveSelected() {
    panel_.SetCaptureStartEnabled(true);
    Save(1, static_cast<int16_t>(SelectedOption() + 1));
}

// Prepares for the save window: every line (kind 0) or the selected one
// (kind 1, `selectedLine` 1..10 during the preparation only).
void DataSetWindow::Save(int16_t saveKind, int16_t selectedLine) {
    core::DataSet& ds = workspace_.data;
    ds.saveKind = saveKind;
    ds.prepareForSave = 1;
    ds.selectedLine = selectedLine;
    const bool prepared = RunPreparation();
    ds.selectedLine = 0;
    if (prepared && OpensSaveWindow()) {
        setEnabled(false);
        panel_.SetCaptureStartEnabled(true);
        emit saveRequested(this);
    }
    ds.prepareForSave = 0;
}

void DataSetWindow::ReturnToPanel() {
    CommitParameter();
    workspace_.data.captureMode = 0;
    if (mainWindow_.isVisible()) {
        panel_.SetCaptureStartEnabled(true);
    } else {
        mainWindow_.show();
        mainWindow_.setEnabled(true);
    }
    timer1_.stop();
    setEnabled(false);
    const QPoint position = pos();
    hide();
    panel_.ReturnFromCapture(position);
}

// --- messages --------------------------------------------------------------------

void DataSetWindow::ShowPreparationMessage(int state) {
    for (const PreparationMessage& message : kMessages) {
        if (message.state == state) {
            ShowMessage(QString::fromUtf8(message.text), kMagenta, 120, 5235, message.width, 300,
                        false);
            return;
        }
    }
}

void DataSetWindow::ShowMessage(const QString& text, const QColor& color, int left, int top,
                                int width, int height, bool wrap) {
    text3_->setWordWrap(wrap);
    text3_->setText(text);
    QPalette palette = text3_->palette();
    palette.setColor(QPalette::WindowText, color);
    text3_->setPalette(palette);
    // The given width fits the text in the system's font; never cut it.
    const int needed = QFontMetrics(text3_->font()).horizontalAdvance(text) + 6;
    QRect geometry = TwipsRect(left, top, width, height);
    if (!wrap) geometry.setWidth(std::max(geometry.width(), needed));
    text3_->setGeometry(geometry);
    text3_->show();
    text3_->raise();
    timer2_.start();
}

void DataSetWindow::HideMessage() {
    timer2_.stop();
    text3_->hide();
}

void DataSetWindow::onMessageTick() {
    HideMessage();
}

QString DataSetWindow::messageText() const {
    return text3_->text();
}

bool DataSetWindow::messageShown() const {
    return text3_->isVisible();
}

void DataSetWindow::mouseMoveEvent(QMouseEvent* event) {
    if (text3_->isVisible()) HideMessage();
    QWidget::mouseMoveEvent(event);
}

bool DataSetWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == text3_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseMove)) {
        HideMessage();
    } else if (watched == text2_) {
        if (type == QEvent::KeyPress) workspace_.data.parameterEdited = 1;
        if (type == QEvent::FocusOut) CommitParameter();
    } else if (watched == command5_ && type == QEvent::Enter && !mainWindow_.isVisible()) {
        ShowMessage(QStringLiteral("展開ﾃﾞｰﾀが操作不能となります。"), kQbBlue, 120, 6765, 1395,
                    450, true);
    } else if (type == QEvent::MouseButtonDblClick) {
        for (QPlainTextEdit* box : text1_) {
            if (watched != box->viewport()) continue;
            QRect geometry = box->geometry();
            const bool tall = geometry.height() == TwipsToPixels(kBoxTallHeight);
            geometry.setHeight(TwipsToPixels(tall ? kBoxHeight : kBoxTallHeight));
            box->setGeometry(geometry);
            box->raise();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kx::ui
