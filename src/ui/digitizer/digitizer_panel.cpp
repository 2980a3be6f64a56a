#include "ui/digitizer/digitizer_panel.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>

#include "render/japanese_font.h"
#include "ui/digitizer/canvas.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/digitizer/main_window.h"
#include "ui/digitizer/picture_reading.h"
#include "ui/window/clipboard_memory.h"
#include "ui/window/controls.h"
#include "ui/window/pointers.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::panel;

// The help text, in its ten pieces.
constexpr const char* kHelpPieces[] = {
    "先ず画像データを呼込みます。ファイルから呼込むときは｢画像 File "
    "Read｣、COPYした画像を貼付ける場合は",
    "｢画像Paste｣キーを操作し、画面に展開します。画像はスキャナー等で得られた画像データです｡画像の"
    "大きさ",
    "には少し注意が必要です｡Xmax､Ymax等にチェックした後、画像の中に位置指定をします。これらの座標"
    "値も入力します。この操作の後、",
    "「１．基本座標の確定」を指示（自動確定される）します。また、対数座標で有ればそれを指定した後､"
    "先ず､テストサンプリングします｡原本",
    "の歪み等でうまく数値変換できない場合は中間座標値（中間座標補正処理）でＸ、Ｙ座標を指定（とも"
    "に１カ所）します。",
    "その後、「２．データ読取開始」の指定を行います。ここからデータ採取が始まります。画像をマウス"
    "にて、クリック指定するとそのＸ、Ｙ座標値と",
    "採取データ数が表示されます。読取ったデータの修正は「データリセット」キーや直接表示値を修正し"
    "ます。",
    "Xmax､Ymax､座標系の訂正や中間座標補正等は任意な場面で修正可能です｡その後、このプログラムのデー"
    "タ",
    "として展開するには「データ展開」、ファイルとして保存する場合は｢ファイル保存｣キーを押します。",
    "この表示を消す場合はこの領域を左マウスでクリックします。",
};

QString HelpText() {
    QString text;
    for (const char* piece : kHelpPieces) text += QString::fromUtf8(piece);
    return text + QString(12, QLatin1Char(' '));
}

// The panel is a little wider than the system's 2730 twips, so that a window
// manager's title bar shows its caption whole; the right-hand controls take
// the extra width.
constexpr int kPanelWidth = 3060;
constexpr int kExtra = kPanelWidth - 2730;
constexpr int kHalf = kExtra / 2;

const QRect kMessagePlace = TwipsRect(30, 192, 2700 + kExtra, 285);

}  // namespace

DigitizerPanel::DigitizerPanel(Workspace& workspace, MainWindow& mainWindow,
                               const ClipboardMemory& clipboard)
    // A tool panel of fixed size: no maximize button, so that the caption
    // keeps the room of its title bar.
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      workspace_(workspace),
      mainWindow_(mainWindow),
      canvas_(mainWindow.canvas()),
      clipboard_(clipboard),
      overlay_(workspace, captureMarks_, mainWindow.canvas()) {
    setObjectName(n::kWindow);
    setWindowTitle("Tolvex_R1.0");
    setFont(render::JapaneseFont(9));
    BuildControls();
    BuildMenus();

    liveTimer_.setObjectName(n::kLiveTimer);
    liveTimer_.setInterval(30);
    messageTimer_.setObjectName(n::kMessageTimer);
    messageTimer_.setInterval(5000);
    ConnectControls();
}

DigitizerPanel::~DigitizerPanel() {
    WidgetEvents::Silence(this);
}

void DigitizerPanel::Start() {
    workspace_.settings.errorMode = 2;
    workspace_.settings.excludedSystem = {};
    lineOption_[0]->setChecked(true);
    mainWindow_.show();
    show();
}

void DigitizerPanel::BuildControls() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("MenuBar");
    body_ = new QWidget(this);
    body_->setObjectName("PanelBody");
    QWidget* b = body_;

    titleLabel_ = NamedLabel(b, n::kTitle, QStringLiteral("グラフデータ自動読取り"),
                             TwipsRect(120, 0, 2505 + kExtra, 285));
    titleLabel_->setAlignment(Qt::AlignCenter);

    basicFrame_ = Frame(b, "基本座標", TwipsRect(30, 330, 2670 + kExtra, 1980));
    constexpr const char* kPointNames[] = {"", "Ｘｍｉｎ", "Ｘｍａｘ", "Ｙｍｉｎ", "Ｙｍａｘ"};
    for (int box = 1; box <= 4; ++box) {
        const int top = 270 + (box - 1) * 330;
        pointBox_[box] = new QCheckBox(QString::fromUtf8(kPointNames[box]), basicFrame_);
        pointBox_[box]->setObjectName(n::kPointBox[box]);
        pointBox_[box]->setGeometry(TwipsRect(90, top, 1050, 300));
        valueBox_[box] =
            Box(basicFrame_, n::kValueBox[box], TwipsRect(1170, top, 1380 + kExtra, 300));
    }
    confirmButton_ = Button(basicFrame_, n::kConfirmButton, "基本座標の確定",
                            TwipsRect(90, 1590, 1680 + kExtra, 330));
    resetButton_ =
        Button(basicFrame_, n::kResetButton, "Reset", TwipsRect(1800 + kExtra, 1590, 750, 330));

    settingsFrame_ = Frame(b, "設定確認", TwipsRect(30, 2340, 2670 + kExtra, 2505));
    QWidget* s = settingsFrame_;
    Caption(s, "X 座標", TwipsRect(90, 240, 800, 240));
    Caption(s, "Y 座標", TwipsRect(990 + kHalf, 240, 800, 240));
    constexpr const char* kLinear[] = {"X", "Y"};
    constexpr const char* kLog[] = {"Log(X)", "Log(Y)"};
    for (int axis = 0; axis < 2; ++axis) {
        auto* group = new QButtonGroup(this);
        linearOption_[axis] = new QRadioButton(QString::fromUtf8(kLinear[axis]), s);
        linearOption_[axis]->setObjectName(ArrayName(n::kLinearOption, axis));
        linearOption_[axis]->setGeometry(TwipsRect(90 + axis * (900 + kHalf), 480, 850, 255));
        logOption_[axis] = new QRadioButton(QString::fromUtf8(kLog[axis]), s);
        logOption_[axis]->setObjectName(ArrayName(n::kLogOption, axis));
        logOption_[axis]->setGeometry(TwipsRect(90 + axis * (900 + kHalf), 735, 850, 255));
        group->addButton(linearOption_[axis]);
        group->addButton(logOption_[axis]);
        linearOption_[axis]->setChecked(true);
    }
    exponentBox_ = new QCheckBox(s);
    exponentBox_->setObjectName(n::kExponentBox);
    exponentBox_->setGeometry(TwipsRect(2220 + kExtra, 240, 330, 270));
    Caption(s, "X/Yサンプリング値", TwipsRect(90, 1020, 2400, 240));
    xSampleBox_ = Box(s, n::kXSampleBox, TwipsRect(90, 1260, 1230 + kHalf, 285));
    ySampleBox_ = Box(s, n::kYSampleBox, TwipsRect(1350 + kHalf, 1260, 1230 + kHalf, 285));
    Caption(s, "中間座標補正処理", TwipsRect(90, 1590, 2400, 240));
    constexpr const char* kMid[] = {"Ｘｍid", "Ｙｍid"};
    for (int axis = 0; axis < 2; ++axis) {
        const int top = 1830 + axis * 315;
        midPointBox_[axis] = new QCheckBox(QString::fromUtf8(kMid[axis]), s);
        midPointBox_[axis]->setObjectName(n::kMidPointBox[axis]);
        midPointBox_[axis]->setGeometry(TwipsRect(90, top, 1050, 285));
        midValueBox_[axis] =
            Box(s, n::kMidValueBox[axis], TwipsRect(1170, top, 1380 + kExtra, 285));
    }

    xLiveBox_ = Box(b, n::kXLiveBox, TwipsRect(30, 4890, 1320 + kHalf, 285));
    yLiveBox_ = Box(b, n::kYLiveBox, TwipsRect(1380 + kHalf, 4890, 1320 + kHalf, 285));
    xLiveBox_->setReadOnly(true);
    yLiveBox_->setReadOnly(true);

    auto* readFrame = Frame(b, "データ読取り", TwipsRect(30, 5220, 2670 + kExtra, 1890));
    captureButton_ = Button(readFrame, n::kCaptureButton, "データ採取開始",
                            TwipsRect(90, 240, 1620 + kExtra, 330));
    saveButton_ =
        Button(readFrame, n::kSaveButton, "保 存", TwipsRect(1770 + kExtra, 240, 810, 330));
    auto* lines = new QButtonGroup(this);
    for (int i = 0; i < core::kMaxLines; ++i) {
        const QString label =
            i < 9 ? QStringLiteral("Line  %1").arg(i + 1) : QStringLiteral("Line 10");
        lineOption_[i] = new QRadioButton(label, readFrame);
        lineOption_[i]->setObjectName(ArrayName(n::kLineOption, i));
        lineOption_[i]->setGeometry(
            TwipsRect(150 + (i / 5) * (1230 + kHalf), 630 + (i % 5) * 240, 1200, 240));
        lines->addButton(lineOption_[i], i);
    }
    connect(lines, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked) emit lineOptionChanged(index);
    });

    auto* pictureFrame = Frame(b, "画像の呼込み", TwipsRect(30, 7140, 2670 + kExtra, 1020));
    pasteButton_ =
        Button(pictureFrame, n::kPasteButton, "画像Paste", TwipsRect(90, 240, 1200 + kHalf, 330));
    dockButton_ =
        Button(pictureFrame, n::kDockButton, "□", TwipsRect(1320 + kHalf, 240, 330, 330));
    endButton_ = Button(pictureFrame, n::kEndButton, "終了",
                        TwipsRect(1680 + kHalf, 240, 900 + kHalf, 330));
    pictureFileButton_ = Button(pictureFrame, n::kPictureFileButton, "画像ﾌｧｲﾙの読み",
                                TwipsRect(90, 600, 2490 + kExtra, 330));

    // Floating boxes over everything else.
    BuildTraceControls();

    hintBox_ = NamedLabel(b, n::kHintBox, QStringLiteral("基本ﾃﾞｰﾀ入力完了(自由修正可)"), QRect());
    hintBox_->setWordWrap(true);
    hintBox_->setAutoFillBackground(true);
    hintBox_->setFrameShape(QFrame::Box);
    hintBox_->hide();
    messageBox_ = new QTextEdit(b);
    messageBox_->setObjectName(n::kMessageBox);
    messageBox_->setReadOnly(true);
    messageBox_->setGeometry(kMessagePlace);
    messageBox_->hide();

    question_ = new PanelQuestion(this);
}

void DigitizerPanel::BuildMenus() {
    QMenu* file = menuBar_->addMenu(QStringLiteral("File"));
    file->setObjectName(n::kFileMenu);
    auto add = [this](QMenu* menu, const char* name, const char* caption, auto slot) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, n::kPictureFileEntry, "画像ファイルの読み", &DigitizerPanel::OpenPictureFile);
    add(file, n::kPasteEntry, "画像のPaste", &DigitizerPanel::PastePicture);
    add(file, n::kNumericDataEntry, "数値ﾃﾞｰﾀの呼込み", &DigitizerPanel::OpenNumericData);
    keyboardAction_ =
        add(file, n::kKeyboardEntry, "ｷｰﾎﾞｰﾄﾞ入力", &DigitizerPanel::keyboardEntryRequested);
    keyboardAction_->setEnabled(false);
    add(file, n::kSessionSaveEntry, "作業の保存", &DigitizerPanel::sessionSaveRequested);
    add(file, n::kSessionLoadEntry, "作業の呼込み", &DigitizerPanel::OpenSessionFile);
    add(file, n::kEndEntry, "ﾌﾟﾛｸﾞﾗﾑ終了", &DigitizerPanel::EndProgram);

    QMenu* settings = menuBar_->addMenu(QStringLiteral("設定"));
    settings->setObjectName(n::kSettingsMenu);
    add(settings, n::kConfirmEntry, "基本座標の確定", &DigitizerPanel::ConfirmCalibration);
    add(settings, n::kCaptureEntry, "データ保存開始", &DigitizerPanel::StartCapture);
    BuildTraceEntry(settings);
    BuildMarkEntries(settings);

    QAction* help = menuBar_->addAction(QStringLiteral("HELP"));
    help->setObjectName(n::kHelpEntry);
    connect(help, &QAction::triggered, this, &DigitizerPanel::ToggleHelp);

    // The menu bar sizes itself by its entries; the controls stand below it.
    const int menuHeight = menuBar_->sizeHint().height();
    const QSize bodySize(TwipsToPixels(kPanelWidth),
                         TwipsToPixels(kTraceRowTop + kTraceRowHeight));
    menuBar_->setGeometry(0, 0, bodySize.width(), menuHeight);
    body_->setGeometry(0, menuHeight, bodySize.width(), bodySize.height());
    setFixedSize(bodySize.width(), bodySize.height() + menuHeight);
}

void DigitizerPanel::ConnectControls() {
    connect(question_, &PanelQuestion::closed, this, [this] { WaitForAnswer(false); });
    connect(&liveTimer_, &QTimer::timeout, this, &DigitizerPanel::UpdateLiveDisplay);
    connect(&messageTimer_, &QTimer::timeout, this, &DigitizerPanel::HideMessages);
    connect(&canvas_, &Canvas::pressed, this, &DigitizerPanel::OnCanvasPressed);
    connect(&canvas_, &Canvas::moved, this, &DigitizerPanel::OnCanvasMoved);
    connect(&canvas_, &Canvas::clicked, this, &DigitizerPanel::OnCanvasClicked);
    connect(&canvas_, &Canvas::doubleClicked, this, &DigitizerPanel::OnCanvasDoubleClicked);

    for (int box = 1; box <= 4; ++box) {
        connect(pointBox_[box], &QCheckBox::clicked, this,
                [this, box](bool on) { OnPointBox(box, on); });
        WidgetEvents& check = WidgetEvents::Of(pointBox_[box]);
        connect(&check, &WidgetEvents::entered, this, [this] {
            if (!state_.helpShown) HideMessage();
        });
        connect(&check, &WidgetEvents::focusLost, this,
                [this, box](Qt::FocusReason reason) { PointBoxLeft(box, reason); });

        connect(valueBox_[box], &QLineEdit::textChanged, this,
                [this, box] { CheckValueText(box); });
        // Enter moves on in the ring Xmin, Xmax, Ymin, Ymax.
        connect(valueBox_[box], &QLineEdit::returnPressed, this,
                [this, box] { valueBox_[box % 4 + 1]->setFocus(Qt::TabFocusReason); });
        WidgetEvents& value = WidgetEvents::Of(valueBox_[box]);
        connect(&value, &WidgetEvents::entered, this, [this] { setCursor(SquarePointer()); });
        connect(&value, &WidgetEvents::focusLost, this, [this, box] { StoreAxisValue(box); });
    }
    connect(&WidgetEvents::Of(valueBox_[core::kPickXmin]), &WidgetEvents::pressed, this,
            [this] { StoreAxisValue(core::kPickXmin); });
    connect(confirmButton_, &QPushButton::clicked, this, &DigitizerPanel::ConfirmCalibration);
    connect(resetButton_, &QPushButton::clicked, this, &DigitizerPanel::ResetCalibration);

    for (int axis = 0; axis < 2; ++axis) {
        connect(linearOption_[axis], &QRadioButton::clicked, this,
                [this, axis] { SelectAxisType(axis, false); });
        connect(logOption_[axis], &QRadioButton::clicked, this,
                [this, axis] { SelectAxisType(axis, true); });
        connect(midPointBox_[axis], &QCheckBox::clicked, this,
                [this, axis] { OnMidPointBox(axis); });
        connect(midValueBox_[axis], &QLineEdit::textChanged, this, [this, axis] {
            if (midPointBox_[axis]->isChecked()) StoreMidValue(axis);
        });
        connect(midValueBox_[axis], &QLineEdit::returnPressed, this,
                [this, axis] { midValueBox_[1 - axis]->setFocus(Qt::TabFocusReason); });
        connect(&WidgetEvents::Of(midValueBox_[axis]), &WidgetEvents::focusLost, this,
                [this, axis] { StoreMidValue(axis); });
    }
    connect(exponentBox_, &QCheckBox::clicked, this, &DigitizerPanel::SwitchDisplayForm);
    connect(&WidgetEvents::Of(exponentBox_), &WidgetEvents::entered, this, [this] {
        ShowHint(QStringLiteral("数値表示の変更(通常 or 指数)"), 855, 2025, 1260, 390);
    });

    // The hover checks: moving over the frames re-evaluates the setup.
    connect(&WidgetEvents::Of(basicFrame_), &WidgetEvents::moved, this,
            &DigitizerPanel::HoverBasicFrame);
    connect(&WidgetEvents::Of(settingsFrame_), &WidgetEvents::moved, this,
            &DigitizerPanel::HoverSettingsFrame);
    WidgetEvents& confirm = WidgetEvents::Of(confirmButton_);
    connect(&confirm, &WidgetEvents::entered, this, &DigitizerPanel::HoverConfirmButton);
    connect(&confirm, &WidgetEvents::moved, this, &DigitizerPanel::HoverConfirmButton);
    connect(&WidgetEvents::Of(body_), &WidgetEvents::moved, this,
            &DigitizerPanel::PointerOverPanel);
    connect(&WidgetEvents::Of(messageBox_), &WidgetEvents::pressed, this, [this] {
        messageTimer_.stop();
        HideMessage();
    });
    connect(&WidgetEvents::Of(hintBox_), &WidgetEvents::pressed, hintBox_, &QWidget::hide);

    connect(captureButton_, &QPushButton::clicked, this, &DigitizerPanel::StartCapture);
    connect(saveButton_, &QPushButton::clicked, this, &DigitizerPanel::SaveCollectedData);
    for (int i = 0; i < core::kMaxLines; ++i) {
        connect(lineOption_[i], &QRadioButton::clicked, this, [this, i] { OnLineOption(i); });
    }
    connect(pasteButton_, &QPushButton::clicked, this, &DigitizerPanel::PastePicture);
    connect(dockButton_, &QPushButton::clicked, &mainWindow_, &MainWindow::SwitchDocking);
    connect(endButton_, &QPushButton::clicked, this, &DigitizerPanel::EndProgram);
    connect(pictureFileButton_, &QPushButton::clicked, this, &DigitizerPanel::OpenPictureFile);
}

void DigitizerPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstShown_) return;
    firstShown_ = true;
    // First showing: both axes linear, the mid-point controls off and disabled.
    linearOption_[0]->setChecked(true);
    linearOption_[1]->setChecked(true);
    workspace_.calibration.logX = false;
    workspace_.calibration.logY = false;
    for (QCheckBox* mid : midPointBox_) mid->setChecked(false);
    EnableMidControls(false);
    captureButton_->setEnabled(false);
    ShowSamplingBoxes(false);
}

void DigitizerPanel::SetKeyboardEntryAvailable(bool available) {
    keyboardAction_->setEnabled(available);
}

void DigitizerPanel::EndProgram() {
    QCoreApplication::exit(0);
}

void DigitizerPanel::closeEvent(QCloseEvent* event) {
    event->ignore();
    // Disabled behind another window, it waits for that window, as the main
    // window does.
    if (isEnabled()) emit endByFrameRequested();
}

// The controls, the menus and the canvas wait while a question is open.
void DigitizerPanel::WaitForAnswer(bool waiting) {
    for (QWidget* waits : {static_cast<QWidget*>(body_), static_cast<QWidget*>(menuBar_),
                           static_cast<QWidget*>(&mainWindow_)})
        waits->setEnabled(!waiting);
}

void DigitizerPanel::Ask(const QString& text, const QStringList& choices,
                         PanelQuestion::Answered answered) {
    WaitForAnswer(true);
    question_->move(TwipsToPixels(30), body_->y() + TwipsToPixels(192));
    question_->Ask(text, choices, std::move(answered));
    show();
    raise();
    activateWindow();
}

void DigitizerPanel::PointerOverPanel() {
    const QCursor pointer = state_.pointBoxUsed ? SquarePointer() : ArrowPointer();
    setCursor(pointer);
    mainWindow_.setCursor(pointer);
    liveTimer_.stop();
    canvas_.floatingLabel().hide();
}

// --- messages and help ---------------------------------------------------------

void DigitizerPanel::ShowMessage(const QString& text) {
    state_.helpShown = false;
    messageBox_->setPlainText(text);
    messageBox_->setFont(render::JapaneseFont(9));
    messageBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QRect geometry = kMessagePlace;
    // A two-line message (the blanks push its condition down) gets its room.
    messageBox_->document()->setTextWidth(geometry.width() - 2 * messageBox_->frameWidth());
    const int needed =
        static_cast<int>(messageBox_->document()->size().height()) + 2 * messageBox_->frameWidth();
    geometry.setHeight(std::max(geometry.height(), needed));
    // Grown downwards it would cover the Xmin row, the control a refused
    // click leads to next: it grows upwards over the title instead.
    const int below = basicFrame_->y() + pointBox_[core::kPickXmin]->y();
    if (geometry.bottom() >= below) geometry.moveBottom(below - 1);
    if (geometry.top() < 0) geometry.moveTop(0);
    messageBox_->setGeometry(geometry);
    messageBox_->show();
    messageBox_->raise();
    messageTimer_.start();
}

void DigitizerPanel::HideMessage() {
    messageBox_->hide();
    messageBox_->setGeometry(kMessagePlace);
    state_.helpShown = false;
}

void DigitizerPanel::ShowHint(const QString& text, int left, int top, int width, int height) {
    hintBox_->setText(text);
    hintBox_->setGeometry(TwipsRect(left, top, width, height));
    hintBox_->show();
    hintBox_->raise();
    messageTimer_.start();
}

void DigitizerPanel::HideMessages() {
    // The help text stays until it is clicked or asked away.
    if (!state_.helpShown) messageBox_->hide();
    hintBox_->hide();
    messageTimer_.stop();
}

QString DigitizerPanel::messageText() const {
    return messageBox_->toPlainText();
}

bool DigitizerPanel::messageShown() const {
    return messageBox_->isVisible();
}

void DigitizerPanel::ToggleHelp() {
    if (state_.helpShown) {
        messageBox_->clear();
        messageBox_->setGeometry(TwipsRect(120, 0, 2505 + kExtra, 285));
        messageBox_->hide();
        state_.helpShown = false;
        return;
    }
    messageTimer_.stop();
    // A size smaller than the messages' lets the whole help stand at once.
    messageBox_->setFont(render::JapaneseFont(8));
    messageBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    messageBox_->setGeometry(TwipsRect(15, 0, 2700 + kExtra, 6800));
    messageBox_->setPlainText(HelpText());
    messageBox_->show();
    messageBox_->raise();
    state_.helpShown = true;
}

// --- picture --------------------------------------------------------------------

void DigitizerPanel::TakePicture(const QImage& picture, const QString& caption) {
    // A new picture starts the calibration afresh.
    core::AxisCalibration& cal = workspace_.calibration;
    cal.calibrationConfirmed = false;
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    state_.xAxisDrawn = state_.yAxisDrawn = false;
    state_.picks.pickMode = core::kPickNone;
    // The point boxes going off take the mid points with them, as a click
    // that turns a point box off does: their positions were on the old picture.
    DisarmMidPoints();
    for (QCheckBox* mid : midPointBox_) mid->setChecked(false);
    canvas_.SetCanvasPicture(picture);
    canvas_.SetFloatingLabel(QString());
    // What they sampled was on the old picture.
    xSampleBox_->clear();
    ySampleBox_->clear();
    mainWindow_.FitToPicture(frameGeometry().width());
    mainWindow_.setWindowTitle(caption);
    // The captured positions belong to the old picture.
    captureMarks_.Clear();
    history_.Clear();
    ForgetTraces();
    SetNudgeTarget(kNoNudge);
    FailCalibration();
    canvas_.update();
}

void DigitizerPanel::PastePicture() {
    const QImage picture = clipboard_.Picture();
    TakePicture(picture, QStringLiteral("Kuvatelix <Graph Paste>"));
    // A pasted picture has no bytes of its own: a session keeps it as PNG.
    QByteArray png;
    QBuffer buffer(&png);
    if (!picture.isNull() && buffer.open(QIODevice::WriteOnly)) picture.save(&buffer, "PNG");
    workspace_.pictureName = "Graph Paste.png";
    workspace_.pictureBytes = png.toStdString();
    ++workspace_.pictureGeneration;
}

QString DigitizerPanel::LoadPictureFile(const QString& path) {
    PictureReading reading(path);
    // A file that is none, or no picture we read, or one too large to show,
    // leaves the current one as it is.
    if (!reading.refusal().isEmpty()) return reading.refusal();
    // The old picture goes before the new one is decoded, so that a reload of
    // a large scan never holds both.
    canvas_.SetCanvasPicture(QImage());
    QString fault;
    const QImage picture = reading.Read(fault);
    if (picture.isNull()) {
        // Broken after a sound header: the canvas stays empty and the
        // calibration, made on the old picture, goes with it.
        TakePicture(QImage(), QStringLiteral("Kuvatelix"));
        // Nor does a session keep the old picture's bytes for an empty canvas.
        workspace_.pictureName.clear();
        workspace_.pictureBytes.clear();
        ++workspace_.pictureGeneration;
        return fault;
    }
    // The caption names the file as the file name box holds it: the full name.
    TakePicture(picture, QStringLiteral("Kuvatelix <") + QDir::toNativeSeparators(path).trimmed() +
                             QStringLiteral(">"));
    KeepPictureBytes(path);
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(workspace_.data, line);
    emit linesReset();
    // A partial picture is the user's to keep or to replace: he is told.
    if (reading.CutShort()) ShowMessage(QString::fromUtf8(kPictureCutShort));
    return {};
}

void DigitizerPanel::KeepPictureBytes(const QString& path) {
    // Read again as bytes, not re-encoded: a session holds the file itself.
    QFile file(path);
    workspace_.pictureName = QFileInfo(path).fileName().toStdString();
    workspace_.pictureBytes =
        file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    ++workspace_.pictureGeneration;
}

void DigitizerPanel::OpenPictureFile() {
    state_.loadMode = 3;
    emit loadRequested(state_.loadMode);
}

void DigitizerPanel::OpenSessionFile() {
    state_.loadMode = 4;
    emit loadRequested(state_.loadMode);
}

void DigitizerPanel::OpenNumericData() {
    state_.loadMode = 2;
    workspace_.data.captureMode = 1;
    emit loadRequested(state_.loadMode);
}

// --- capture --------------------------------------------------------------------

void DigitizerPanel::StartCapture() {
    emit captureStartPressed();
    const core::AxisCalibration& cal = workspace_.calibration;
    if (cal.calibrationInvalid || !cal.calibrationConfirmed) return;
    core::DataSet& ds = workspace_.data;
    ds.captureMode = 1;
    int selected = -1;
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (lineOption_[i]->isChecked()) selected = i;
    }
    if (selected < 0) {
        selected = 0;
        lineOption_[0]->setChecked(true);
        ds.captureLine = 1;
    }
    captureButton_->setEnabled(false);
    emit captureRequested(selected);
}

void DigitizerPanel::SaveCollectedData() {
    // Without a point there is nothing to save: no empty data file.
    const auto& counts = workspace_.data.pointCount;
    if (std::all_of(counts.begin() + 1, counts.end(), [](int16_t n) { return n <= 0; })) {
        ShowMessage(QStringLiteral("データが無い"));
        return;
    }
    emit saveRequested();
}

void DigitizerPanel::OnLineOption(int index) {
    if (workspace_.data.captureMode != 1) return;
    emit lineOptionClicked(index, lineOption_[index]->isChecked());
}

void DigitizerPanel::SelectLineOption(int index) {
    lineOption_[index]->setChecked(true);
}

void DigitizerPanel::SetCaptureStartEnabled(bool enabled) {
    captureButton_->setEnabled(enabled);
}

void DigitizerPanel::StopLiveTimer() {
    liveTimer_.stop();
}

void DigitizerPanel::StartLiveTimer() {
    liveTimer_.start();
}

void DigitizerPanel::ReturnFromCapture(QPoint position) {
    setEnabled(true);
    move(position);
    show();
    raise();
}

// --- reset ------------------------------------------------------------------------

void DigitizerPanel::ResetCalibration() {
    core::AxisCalibration& cal = workspace_.calibration;
    cal.calibrationConfirmed = false;
    state_.setup.frameReady = false;
    state_.autoConfirmDone = false;
    state_.xAxisDrawn = state_.yAxisDrawn = false;
    for (QLineEdit* box : {xSampleBox_, ySampleBox_}) SetBackground(box, QColor(0, 0, 5));
    cal.calibrationInvalid = true;
    mainWindow_.activateWindow();
    canvas_.RestoreCanvasPicture();
    setCursor(SquarePointer());
    canvas_.setCursor(CrossPointer());
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    state_.picks.pickMode = core::kPickNone;
    canvas_.SetFloatingLabel(QString());
    ShowSamplingBoxes(false);
    // An armed mid point would make every following press a mid-point press,
    // so no calibration point could be placed again; its mark is wiped with
    // the others. The mid-point boxes go off as they do when a point box is
    // turned off, and wait for the next confirmation.
    DisarmMidPoints();
    for (QCheckBox* mid : midPointBox_) mid->setChecked(false);
    EnableMidControls(false);
    confirmButton_->setEnabled(true);
    captureButton_->setEnabled(false);
    SetNudgeTarget(kNoNudge);
    history_.Clear();
    FollowPictureData();
}

}  // namespace kx::ui
