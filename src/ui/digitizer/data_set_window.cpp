#include "ui/digitizer/data_set_window.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/data/preparation.h"
#include "core/data/text_chars.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/window/controls.h"
#include "ui/window/refusal_line.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::data_set;

// The window is wider than the digitizer panel, whose place it takes, so that
// its caption shows the name of a loaded file beside the window manager's
// buttons; the controls on the right take the width.
constexpr int kWindowWidth = 4200;
constexpr int kExtra = kWindowWidth - 2760;
constexpr int kHalf = kExtra / 2;
constexpr int kBoxLeft = 45, kBoxTop = 930, kBoxWidth = 2655 + kExtra, kBoxHeight = 1710;
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

DataSetWindow::DataSetWindow(Workspace& workspace, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("DataSet")), workspace_(workspace) {
    // Of fixed size: no maximize button, so that the caption keeps its room.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setMouseTracking(true);
    BuildControls();
    ConnectControls();

    trackTimer_.setObjectName(n::kTrackTimer);
    trackTimer_.setInterval(1000);
    connect(&trackTimer_, &QTimer::timeout, this, &DataSetWindow::FollowPanelLineOptions);
    SetUpMessageTimer(n::kMessageTimer, 7000, false);
    AddMessageBox(messageLine_);
    // The tracking timer runs from the window's load.
    trackTimer_.start();
}

void DataSetWindow::BuildControls() {
    setFixedSize(TwipsToPixels(kWindowWidth), TwipsToPixels(7260));
    NamedLabel(this, n::kHeading, QStringLiteral("採取データの表示"),
               TwipsRect(60, 30, 2655 + kExtra, 285));

    Caption(this, "Line", TwipsRect(60, 375, 450, 285));
    lineBox_ = Box(this, n::kLineBox, TwipsRect(510, 360, 450, 285));
    lineBox_->setReadOnly(true);
    Caption(this, "Point", TwipsRect(1080, 375, 540, 285));
    pointCountBox_ = Box(this, n::kPointCountBox, TwipsRect(1620, 360, 600, 285));
    pointCountBox_->setReadOnly(true);
    Caption(this, "Parameter(Y)", TwipsRect(60, 675, 1200, 285));
    parameterBox_ = Box(this, n::kParameterBox, TwipsRect(1260, 660, 1440 + kExtra, 285));

    auto* group = new QButtonGroup(this);
    for (int i = 0; i < core::kMaxLines; ++i) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(ArrayName(n::kPointBox, i));
        box->setGeometry(TwipsRect(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->hide();
        pointBox_[i] = box;

        const QString label =
            i < 9 ? QStringLiteral("Line %1").arg(i + 1) : QStringLiteral("Line10");
        auto* option = new QRadioButton(label, this);
        option->setObjectName(ArrayName(n::kLineOption, i));
        const int column = i / 5;
        option->setGeometry(
            TwipsRect(120 + column * (1320 + kHalf), 2700 + (i % 5) * 255, 1200, 255));
        group->addButton(option, i);
        lineOption_[i] = option;
    }
    ColourLineLabels(-1);

    xLiveBox_ = Box(this, n::kXLiveBox, TwipsRect(45, 4020, 1305 + kHalf, 285));
    yLiveBox_ = Box(this, n::kYLiveBox, TwipsRect(1395 + kHalf, 4020, 1305 + kHalf, 285));
    xLiveBox_->setReadOnly(true);
    yLiveBox_->setReadOnly(true);

    generateButton_ = Button(this, n::kGenerateButton, "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成",
                             TwipsRect(45, 4380, 2655 + kExtra, 375));
    saveAllButton_ =
        Button(this, n::kSaveAllButton, "全 保 存", TwipsRect(45, 4800, 1305 + kHalf, 375));
    saveSelectedButton_ = Button(this, n::kSaveSelectedButton, "選択保存",
                                 TwipsRect(1395 + kHalf, 4800, 1305 + kHalf, 375));
    resetLineButton_ =
        Button(this, n::kResetLineButton, "選択Lineﾘｾｯﾄ", TwipsRect(45, 5580, 1305 + kHalf, 375));
    resetAllButton_ = Button(this, n::kResetAllButton, "全Lineﾘｾｯﾄ",
                             TwipsRect(1395 + kHalf, 5580, 1305 + kHalf, 375));
    loadButton_ =
        Button(this, n::kLoadButton, "数値ﾃﾞｰﾀの呼込み", TwipsRect(45, 6000, 2655 + kExtra, 375));
    backButton_ = Button(this, n::kBackButton, "戻 る", TwipsRect(45, 6420, 2655 + kExtra, 330));

    messageLine_ = NamedLabel(this, n::kMessageLine, QString(), QRect());
    messageLine_->setAutoFillBackground(true);
    messageLine_->hide();
}

void DataSetWindow::ConnectControls() {
    for (int i = 0; i < core::kMaxLines; ++i) {
        connect(pointBox_[i], &QPlainTextEdit::textChanged, this,
                [this, i] { OnPointBoxEdited(i); });
        connect(&WidgetEvents::Of(pointBox_[i]), &WidgetEvents::doubleClicked, this,
                [this, i] { TogglePointBoxHeight(i); });
        connect(lineOption_[i], &QRadioButton::clicked, this, [this, i] { SelectLine(i); });
    }
    WidgetEvents& parameter = WidgetEvents::Of(parameterBox_);
    connect(&parameter, &WidgetEvents::keyPressed, this,
            [this] { workspace_.data.parameterEdited = 1; });
    connect(&parameter, &WidgetEvents::focusLost, this, &DataSetWindow::CommitParameter);
    WidgetEvents& message = WidgetEvents::Of(messageLine_);
    connect(&message, &WidgetEvents::pressed, this, &DataSetWindow::HideMessages);
    connect(&message, &WidgetEvents::moved, this, &DataSetWindow::HideMessages);
    connect(&WidgetEvents::Of(backButton_), &WidgetEvents::entered, this,
            &DataSetWindow::ShowBackHint);

    connect(generateButton_, &QPushButton::clicked, this, &DataSetWindow::GenerateProgram);
    connect(saveAllButton_, &QPushButton::clicked, this, [this] { Save(0, 0); });
    connect(saveSelectedButton_, &QPushButton::clicked, this, [this] {
        emit captureStartAllowed();
        Save(1, static_cast<int16_t>(SelectedOption() + 1));
    });
    connect(resetLineButton_, &QPushButton::clicked, this, &DataSetWindow::ResetSelectedLine);
    connect(resetAllButton_, &QPushButton::clicked, this, &DataSetWindow::ResetAllLines);
    connect(loadButton_, &QPushButton::clicked, this, [this] {
        workspace_.data.captureMode = 1;
        emit loadRequested();
    });
    connect(backButton_, &QPushButton::clicked, this, &DataSetWindow::ReturnToOpener);
}

// --- capture ------------------------------------------------------------------

void DataSetWindow::StartCapture(QWidget* panel, int index) {
    const core::DataSet& ds = workspace_.data;
    ShowPointCount(ds.pointCount[index + 1]);
    EmptyPointBoxes();
    for (QPlainTextEdit* box : pointBox_)
        box->setGeometry(TwipsRect(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight));
    lineOption_[index]->setChecked(true);
    SelectLine(index);
    move(panel->pos());
    OpenFrom(panel);
    for (int line = 1; line <= core::kMaxLines && !ds.pointText[line].empty(); ++line) {
        ShowPointText(line, core::Trimmed(ds.pointText[line]));
    }
}

void DataSetWindow::ShowCapturedPoint(int line) {
    ShowLineNumber(line);
    ShowPointCount(workspace_.data.pointCount[line]);
    ShowPointText(line, workspace_.data.pointText[line]);
}

void DataSetWindow::ShowCaptureRefusal(const QString& text) {
    ShowMessage(text, kMagenta, TwipsRect(120, 5235, 2505, 300), false);
}

void DataSetWindow::Returning() {
    CommitParameter();
    workspace_.data.captureMode = 0;
    if (mainWindow() != nullptr && !mainWindow()->isVisible()) {
        mainWindow()->show();
        mainWindow()->setEnabled(true);
    } else {
        emit captureStartAllowed();
    }
    trackTimer_.stop();
}

// --- line selection ---------------------------------------------------------

int DataSetWindow::SelectedOption() const {
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (lineOption_[i]->isChecked()) return i;
    }
    return -1;
}

void DataSetWindow::ColourLineLabels(int selected) {
    for (int i = 0; i < core::kMaxLines; ++i) {
        const bool on = i == selected;
        SetTextColour(lineOption_[i], on ? QColor(0, 0, 255) : QColor(12, 0, 0));
        SetBold(lineOption_[i], on);
    }
}

void DataSetWindow::ShowOnlyPointBox(int index) {
    for (int i = 0; i < core::kMaxLines; ++i) pointBox_[i]->setVisible(i == index);
    if (index >= 0) pointBox_[index]->raise();
}

void DataSetWindow::SelectLine(int index) {
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
        emit panelLineSelected(index);
        ShowLineNumber(line);
        raise();
    }
    ds.parameterLine = static_cast<int16_t>(line);
}

void DataSetWindow::FollowPanelLine(int index, bool selected) {
    if (selected) {
        lineOption_[index]->setChecked(true);
        SelectLine(index);
        return;
    }
    // Clearing an exclusive group needs the exclusivity lifted for a moment.
    lineOption_[index]->group()->setExclusive(false);
    lineOption_[index]->setChecked(false);
    lineOption_[index]->group()->setExclusive(true);
}

void DataSetWindow::FollowPanelLineOptions() {
    if (panelLine_ >= 0) workspace_.data.captureLine = static_cast<int16_t>(panelLine_ + 1);
}

void DataSetWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) trackTimer_.start();
}

// --- boxes -------------------------------------------------------------------

void DataSetWindow::EmptyPointBoxes() {
    for (int line = 1; line <= core::kMaxLines; ++line) ShowPointText(line, "");
}

void DataSetWindow::ShowPointText(int line, const std::string& text) {
    QPlainTextEdit* box = pointBox_[line - 1];
    const QString shown = BoxText(text);
    if (box->toPlainText() == shown) return;
    const QSignalBlocker ownText(box);
    box->setPlainText(shown);
    box->moveCursor(QTextCursor::End);
}

void DataSetWindow::ShowPointCount(int count) {
    pointCountBox_->setText(QString::number(count));
}

void DataSetWindow::ShowLineNumber(int line) {
    lineBox_->setText(QString::number(line));
}

void DataSetWindow::ShowParameter(const std::string& text) {
    parameterBox_->setText(QString::fromStdString(text));
}

void DataSetWindow::SetLiveValues(const QString& x, const QString& y) {
    xLiveBox_->setText(x);
    yLiveBox_->setText(y);
}

void DataSetWindow::OnPointBoxEdited(int index) {
    const int line = index + 1;
    core::DataSet& ds = workspace_.data;
    QPlainTextEdit* box = pointBox_[index];
    const std::string cleaned = core::SetPointText(ds, line, DataText(box->toPlainText()));
    ShowPointCount(ds.pointCount[line]);
    if (BoxText(cleaned) != box->toPlainText()) {
        const int position = box->textCursor().position();
        ShowPointText(line, cleaned);
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(std::min(position, static_cast<int>(BoxText(cleaned).size())));
        box->setTextCursor(cursor);
    }
    emit pointsChanged();
}

void DataSetWindow::TogglePointBoxHeight(int index) {
    // A double click switches between the list and a larger view of it.
    QPlainTextEdit* box = pointBox_[index];
    QRect geometry = box->geometry();
    const bool tall = geometry.height() == TwipsToPixels(kBoxTallHeight);
    geometry.setHeight(TwipsToPixels(tall ? kBoxHeight : kBoxTallHeight));
    box->setGeometry(geometry);
    box->raise();
}

void DataSetWindow::RefreshPointBoxesFromData() {
    for (int line = 1; line <= core::kMaxLines; ++line)
        ShowPointText(line, workspace_.data.pointText[line]);
    emit pointsChanged();
}

std::string DataSetWindow::SavedDataText(int saveKind) const {
    if (saveKind == core::kSaveAllLines) return core::AllLinesDataText(workspace_.data);
    return core::SelectedLineDataText(workspace_.data, SelectedOption() + 1,
                                      parameterBox_->text().toStdString());
}

void DataSetWindow::ShowLoadedData(const QString& title) {
    // A parameter typed before the load belongs to the lines it replaced.
    workspace_.data.parameterEdited = 0;
    RefreshPointBoxesFromData();
    lineOption_[0]->setChecked(true);
    SelectLine(0);
    ShowParameter(workspace_.data.parameterText[1]);
    ShowLineNumber(1);
    ShowPointCount(workspace_.data.pointCount[1]);
    setWindowTitle(QStringLiteral("DataSet <") + title + QStringLiteral(">"));
}

void DataSetWindow::CommitParameter() {
    core::DataSet& ds = workspace_.data;
    if (ds.parameterEdited == 0) return;
    core::SetParameterText(ds, ds.parameterLine, parameterBox_->text().toStdString());
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
    emit linesReset();
    emit pointsChanged();
}

void DataSetWindow::ResetAllLines() {
    for (int line = 1; line <= core::kMaxLines; ++line) {
        core::ResetLine(workspace_.data, line);
        ShowPointText(line, "");
    }
    ShowPointCount(0);
    lineOption_[0]->setChecked(true);
    emit panelLineSelected(0);
    ShowParameter(workspace_.data.parameterText[1]);
    ShowLineNumber(1);
    if (workspace_.data.captureMode == 1) {
        ShowOnlyPointBox(0);
        ColourLineLabels(0);
        workspace_.data.captureLine = 1;
    }
    workspace_.data.parameterLine = 1;
    emit linesReset();
    emit pointsChanged();
}

// --- preparation -------------------------------------------------------------

bool DataSetWindow::RunPreparation() {
    CommitParameter();
    emit panelTimersStopRequested();
    trackTimer_.stop();
    const int16_t state = core::PrepareDataSet(workspace_.data);
    // The preparation may have completed the last text line of a point text.
    RefreshPointBoxesFromData();
    const int line = workspace_.data.parameterLine;
    if (line >= 1 && line <= core::kMaxLines) ShowParameter(workspace_.data.parameterText[line]);
    if (state != core::kPrepared) {
        ShowPreparationMessage(state, workspace_.data.refusal);
        return false;
    }
    HideMessages();
    return true;
}

void DataSetWindow::GenerateProgram() {
    if (!RunPreparation() || workspace_.data.prepareForSave != 0) return;
    emit programGenerationRequested();
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
    if (prepared) {
        emit captureStartAllowed();
        emit saveRequested();
    }
    ds.prepareForSave = 0;
}

// --- messages --------------------------------------------------------------------

void DataSetWindow::ShowPreparationMessage(int state, const core::PreparationRefusal& refusal) {
    for (const PreparationMessage& message : kMessages) {
        if (message.state != state) continue;
        QString text = QString::fromUtf8(message.text);
        // A parameter that is no number, or equals another line's, is named.
        if (state == core::kParameterNotNumeric) text = ParameterRefusalText(text, refusal);
        ShowMessage(text, kMagenta, TwipsRect(120, 5235, message.width, 300), false);
        return;
    }
}

void DataSetWindow::ShowBackHint() {
    if (mainWindow() == nullptr || mainWindow()->isVisible()) return;
    ShowMessage(QStringLiteral("展開ﾃﾞｰﾀが操作不能となります。"), kQbBlue,
                TwipsRect(120, 6765, 1395, 450), true);
}

void DataSetWindow::ShowMessage(const QString& text, const QColor& color, QRect geometry,
                                bool wrap) {
    messageLine_->setWordWrap(wrap);
    messageLine_->setText(text);
    SetTextColour(messageLine_, color);
    // The given width fits the text in the system's font; never cut it. A
    // text too long for the window's width takes two lines.
    const int needed = QFontMetrics(messageLine_->font()).horizontalAdvance(text) + 6;
    const int room = width() - geometry.left() - 2;
    if (!wrap && needed > room) {
        wrap = true;
        messageLine_->setWordWrap(true);
        geometry.setHeight(2 * geometry.height());
        geometry.setWidth(room);
    }
    if (!wrap) geometry.setWidth(std::max(geometry.width(), needed));
    messageLine_->setGeometry(geometry);
    ShowMessageBox(messageLine_);
}

QString DataSetWindow::messageText() const {
    return messageLine_->text();
}

bool DataSetWindow::messageShown() const {
    return messageLine_->isVisible();
}

void DataSetWindow::mouseMoveEvent(QMouseEvent* event) {
    if (messageLine_->isVisible()) HideMessages();
    QWidget::mouseMoveEvent(event);
}

}  // namespace kx::ui
