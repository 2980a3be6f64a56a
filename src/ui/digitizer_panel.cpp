#include "ui/digitizer_panel.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTextEdit>

#include "core/data/text_chars.h"
#include "ui/canvas.h"
#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/data_set_window.h"
#include "ui/japanese_font.h"
#include "ui/main_window.h"
#include "ui/pointers.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

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

}  // namespace

DigitizerPanel::DigitizerPanel(Workspace& workspace, MainWindow& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      workspace_(workspace),
      mainWindow_(mainWindow),
      canvas_(mainWindow.canvas()) {
    setObjectName("Form20");
    setWindowTitle("Tolvex_R1.0");
    setFont(JapaneseFont(9));
    BuildControls();
    BuildMenus();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(30);
    connect(&timer1_, &QTimer::timeout, this, &DigitizerPanel::onLiveTick);
    timer2_.setObjectName("Timer2");
    timer2_.setInterval(5000);
    connect(&timer2_, &QTimer::timeout, this, &DigitizerPanel::onMessageTick);

    connect(&canvas_, &Canvas::pressed, this, &DigitizerPanel::OnCanvasPressed);
    connect(&canvas_, &Canvas::moved, this, &DigitizerPanel::OnCanvasMoved);
    connect(&canvas_, &Canvas::clicked, this, &DigitizerPanel::OnCanvasClicked);
    connect(&canvas_, &Canvas::doubleClicked, this, &DigitizerPanel::OnCanvasDoubleClicked);
    connect(&mainWindow_, &MainWindow::rightEdgeChanged, this, &DigitizerPanel::FollowMainWindow);

    dataSet_ = new DataSetWindow(workspace_, *this, mainWindow_);
    StartProgram();
}

DigitizerPanel::~DigitizerPanel() {
    delete dataSet_;
}

void DigitizerPanel::StartProgram() {
    workspace_.settings.errorMode = 2;
    workspace_.settings.excludedSystem = {};
    QApplication::clipboard()->clear();
    option1_[0]->setChecked(true);
    dataSet_->EmptyPointBoxes();
    mainWindow_.show();
}

void DigitizerPanel::BuildControls() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("MenuBar");
    body_ = new QWidget(this);
    body_->setObjectName("PanelBody");
    body_->setMouseTracking(true);
    body_->installEventFilter(this);
    QWidget* b = body_;

    label11_ = Caption(b, "グラフデータ自動読取り", TwipsRect(120, 0, 2505, 285));
    label11_->setObjectName("Label11");
    label11_->setAlignment(Qt::AlignCenter);

    basicFrame_ = Frame(b, "基本座標", TwipsRect(30, 330, 2670, 1980));
    basicFrame_->installEventFilter(this);
    constexpr const char* kPointNames[] = {"", "Ｘｍｉｎ", "Ｘｍａｘ", "Ｙｍｉｎ", "Ｙｍａｘ"};
    for (int box = 1; box <= 4; ++box) {
        const int top = 270 + (box - 1) * 330;
        auto* check = new QCheckBox(QString::fromUtf8(kPointNames[box]), basicFrame_);
        check->setObjectName(QStringLiteral("Check%1").arg(box));
        check->setGeometry(TwipsRect(90, top, 1050, 300));
        check->installEventFilter(this);
        connect(check, &QCheckBox::clicked, this, [this, box](bool on) { OnPointBox(box, on); });
        check_[box] = check;
        QLineEdit* value = Box(basicFrame_, "", TwipsRect(1170, top, 1380, 300));
        value->setObjectName(QStringLiteral("Text%1").arg(box + 2));
        value->installEventFilter(this);
        connect(value, &QLineEdit::textChanged, this, [this, box] { CheckValueText(box); });
        valueBox_[box] = value;
    }
    command4_ = Button(basicFrame_, "Command4", "基本座標の確定", TwipsRect(90, 1590, 1680, 330));
    command4_->installEventFilter(this);
    auto* command6 = Button(basicFrame_, "Command6", "Reset", TwipsRect(1800, 1590, 750, 330));
    connect(command4_, &QPushButton::clicked, this, &DigitizerPanel::ConfirmCalibration);
    connect(command6, &QPushButton::clicked, this, &DigitizerPanel::ResetCalibration);

    settingsFrame_ = Frame(b, "設定確認", TwipsRect(30, 2340, 2670, 2505));
    settingsFrame_->installEventFilter(this);
    QWidget* s = settingsFrame_;
    Caption(s, "X 座標", TwipsRect(90, 240, 800, 240));
    Caption(s, "Y 座標", TwipsRect(990, 240, 800, 240));
    constexpr const char* kLinear[] = {"X", "Y"};
    constexpr const char* kLog[] = {"Log(X)", "Log(Y)"};
    for (int axis = 0; axis < 2; ++axis) {
        auto* group = new QButtonGroup(this);
        option2_[axis] = new QRadioButton(QString::fromUtf8(kLinear[axis]), s);
        option2_[axis]->setObjectName(ArrayName("Option2", axis));
        option2_[axis]->setGeometry(TwipsRect(90 + axis * 900, 480, 850, 255));
        option3_[axis] = new QRadioButton(QString::fromUtf8(kLog[axis]), s);
        option3_[axis]->setObjectName(ArrayName("Option3", axis));
        option3_[axis]->setGeometry(TwipsRect(90 + axis * 900, 735, 850, 255));
        group->addButton(option2_[axis]);
        group->addButton(option3_[axis]);
        option2_[axis]->setChecked(true);
        connect(option2_[axis], &QRadioButton::clicked, this,
                [this, axis] { SelectAxisType(axis, false); });
        connect(option3_[axis], &QRadioButton::clicked, this,
                [this, axis] { SelectAxisType(axis, true); });
    }
    check5_ = new QCheckBox(s);
    check5_->setObjectName("Check5");
    check5_->setGeometry(TwipsRect(2220, 240, 330, 270));
    check5_->installEventFilter(this);
    connect(check5_, &QCheckBox::clicked, this, &DigitizerPanel::SwitchDisplayForm);
    Caption(s, "X/Yサンプリング値", TwipsRect(90, 1020, 2400, 240));
    text8_ = Box(s, "Text8", TwipsRect(90, 1260, 1230, 285));
    text9_ = Box(s, "Text9", TwipsRect(1350, 1260, 1230, 285));
    Caption(s, "中間座標補正処理", TwipsRect(90, 1590, 2400, 240));
    constexpr const char* kMid[] = {"Ｘｍid", "Ｙｍid"};
    for (int axis = 0; axis < 2; ++axis) {
        const int top = 1830 + axis * 315;
        midBox_[axis] = new QCheckBox(QString::fromUtf8(kMid[axis]), s);
        midBox_[axis]->setObjectName(QStringLiteral("Check%1").arg(6 + axis));
        midBox_[axis]->setGeometry(TwipsRect(90, top, 1050, 285));
        connect(midBox_[axis], &QCheckBox::clicked, this, [this, axis] { OnMidPointBox(axis); });
        midText_[axis] = Box(s, "", TwipsRect(1170, top, 1380, 285));
        midText_[axis]->setObjectName(QStringLiteral("Text%1").arg(10 + axis));
        midText_[axis]->installEventFilter(this);
        connect(midText_[axis], &QLineEdit::textChanged, this, [this, axis] {
            if (midBox_[axis]->isChecked()) StoreMidValue(axis);
        });
    }

    text1_ = Box(b, "Text1", TwipsRect(30, 4890, 1320, 285));
    text2_ = Box(b, "Text2", TwipsRect(1380, 4890, 1320, 285));
    text1_->setReadOnly(true);
    text2_->setReadOnly(true);

    auto* readFrame = Frame(b, "データ読取り", TwipsRect(30, 5220, 2670, 1890));
    command5_ = Button(readFrame, "Command5", "データ採取開始", TwipsRect(90, 240, 1620, 330));
    command8_ = Button(readFrame, "Command8", "保 存", TwipsRect(1770, 240, 810, 330));
    connect(command5_, &QPushButton::clicked, this, &DigitizerPanel::StartCapture);
    connect(command8_, &QPushButton::clicked, this, &DigitizerPanel::saveRequested);
    command8_->setEnabled(false);
    auto* lines = new QButtonGroup(this);
    for (int i = 0; i < core::kMaxLines; ++i) {
        const QString label =
            i < 9 ? QStringLiteral("Line  %1").arg(i + 1) : QStringLiteral("Line 10");
        option1_[i] = new QRadioButton(label, readFrame);
        option1_[i]->setObjectName(ArrayName("Option1", i));
        option1_[i]->setGeometry(TwipsRect(150 + (i / 5) * 1230, 630 + (i % 5) * 240, 1200, 240));
        lines->addButton(option1_[i], i);
        connect(option1_[i], &QRadioButton::clicked, this, [this, i] { OnLineOption(i); });
    }

    auto* pictureFrame = Frame(b, "画像の呼込み", TwipsRect(30, 7140, 2670, 1020));
    auto* command1 = Button(pictureFrame, "Command1", "画像Paste", TwipsRect(90, 240, 1200, 330));
    auto* command7 = Button(pictureFrame, "Command7", "□", TwipsRect(1320, 240, 330, 330));
    auto* command3 = Button(pictureFrame, "Command3", "終了", TwipsRect(1680, 240, 900, 330));
    auto* command2 =
        Button(pictureFrame, "Command2", "画像ﾌｧｲﾙの読み", TwipsRect(90, 600, 2490, 330));
    connect(command1, &QPushButton::clicked, this, &DigitizerPanel::PastePicture);
    connect(command7, &QPushButton::clicked, &mainWindow_, &MainWindow::SwitchDocking);
    connect(command3, &QPushButton::clicked, this, &DigitizerPanel::EndProgram);
    connect(command2, &QPushButton::clicked, this, &DigitizerPanel::OpenPictureFile);

    // Floating boxes over everything else.
    text12_ = new QLabel(QStringLiteral("基本ﾃﾞｰﾀ入力完了(自由修正可)"), b);
    text12_->setObjectName("Text12");
    text12_->setWordWrap(true);
    text12_->setAutoFillBackground(true);
    text12_->setFrameShape(QFrame::Box);
    text12_->installEventFilter(this);
    text12_->hide();
    text7_ = new QTextEdit(b);
    text7_->setObjectName("Text7");
    text7_->setReadOnly(true);
    text7_->setGeometry(TwipsRect(30, 192, 2700, 285));
    text7_->viewport()->installEventFilter(this);
    text7_->hide();
}

void DigitizerPanel::BuildMenus() {
    QMenu* file = menuBar_->addMenu(QStringLiteral("File"));
    file->setObjectName("FileRd");
    auto add = [this](QMenu* menu, const char* name, const char* caption, auto slot) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "BITMAP", "画像ファイルの読み", &DigitizerPanel::OpenPictureFile);
    add(file, "PAST", "画像のPaste", &DigitizerPanel::PastePicture);
    QAction* ffrd = file->addAction(QStringLiteral("数値ﾃﾞｰﾀの呼込み"));
    ffrd->setObjectName("FFRD");
    ffrd->setEnabled(false);  // the load window for numeric data comes later
    keyboardAction_ = add(file, "HENKOU1", "ｷｰﾎﾞｰﾄﾞ入力", &DigitizerPanel::OpenKeyboardEntry);
    keyboardAction_->setEnabled(false);
    add(file, "EEND", "ﾌﾟﾛｸﾞﾗﾑ終了", &DigitizerPanel::EndProgram);

    QMenu* settings = menuBar_->addMenu(QStringLiteral("設定"));
    settings->setObjectName("settei");
    add(settings, "kihon", "基本座標の確定", &DigitizerPanel::ConfirmCalibration);
    add(settings, "kaisi", "データ保存開始", &DigitizerPanel::StartCapture);

    QAction* help = menuBar_->addAction(QStringLiteral("HELP"));
    help->setObjectName("HELP01");
    connect(help, &QAction::triggered, this, &DigitizerPanel::ToggleHelp);

    // The menu bar sizes itself by its entries; the controls stand below it.
    const int menuHeight = menuBar_->sizeHint().height();
    const QSize bodySize(TwipsToPixels(2730), TwipsToPixels(8190));
    menuBar_->setGeometry(0, 0, bodySize.width(), menuHeight);
    body_->setGeometry(0, menuHeight, bodySize.width(), bodySize.height());
    setFixedSize(bodySize.width(), bodySize.height() + menuHeight);
}

void DigitizerPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstShown_) return;
    firstShown_ = true;
    // First showing: both axes linear, the mid-point controls off and disabled.
    option2_[0]->setChecked(true);
    option2_[1]->setChecked(true);
    workspace_.calibration.logX = 0;
    workspace_.calibration.logY = 0;
    for (int axis = 0; axis < 2; ++axis) midBox_[axis]->setChecked(false);
    EnableMidControls(false);
    command5_->setEnabled(false);
    ShowSamplingBoxes(false);
    FollowMainWindow(mainWindow_.RightEdgeTop());
}

void DigitizerPanel::FollowMainWindow(QPoint rightEdgeTop) {
    move(rightEdgeTop);
    dataSet_->move(rightEdgeTop);
}

void DigitizerPanel::setKeyboardEntryAvailable(bool available) {
    keyboardAction_->setEnabled(available);
}

void DigitizerPanel::setSaveAvailable(bool available) {
    command8_->setEnabled(available);
}

void DigitizerPanel::OpenKeyboardEntry() {
    if (mainWindow_.isVisible()) mainWindow_.setEnabled(false);
    setEnabled(false);
    emit keyboardEntryRequested();
}

void DigitizerPanel::EndProgram() {
    QCoreApplication::exit(0);
}

// --- messages and help ---------------------------------------------------------

void DigitizerPanel::ShowMessage(const QString& text) {
    helpShown_ = 0;
    text7_->setPlainText(text);
    text7_->setFont(JapaneseFont(9));
    text7_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QRect geometry = TwipsRect(30, 192, 2700, 285);
    // A two-line message (the blanks push its condition down) gets its room.
    text7_->document()->setTextWidth(geometry.width() - 2 * text7_->frameWidth());
    const int needed =
        static_cast<int>(text7_->document()->size().height()) + 2 * text7_->frameWidth();
    geometry.setHeight(std::max(geometry.height(), needed));
    text7_->setGeometry(geometry);
    text7_->show();
    text7_->raise();
    timer2_.start();
    messagePostedNow_ = true;
}

void DigitizerPanel::HideMessage() {
    text7_->hide();
    text7_->setGeometry(TwipsRect(30, 192, 2700, 285));
    helpShown_ = 0;
}

void DigitizerPanel::ShowHint(const QString& text, int left, int top, int width, int height) {
    text12_->setText(text);
    text12_->setGeometry(TwipsRect(left, top, width, height));
    text12_->show();
    text12_->raise();
    timer2_.start();
}

void DigitizerPanel::onMessageTick() {
    if (helpShown_ == 0) text7_->hide();
    text12_->hide();
    timer2_.stop();
}

QString DigitizerPanel::messageText() const {
    return text7_->toPlainText();
}

bool DigitizerPanel::messageShown() const {
    return text7_->isVisible();
}

void DigitizerPanel::ToggleHelp() {
    if (helpShown_ == 1) {
        text7_->clear();
        text7_->setGeometry(TwipsRect(120, 0, 2505, 285));
        text7_->hide();
        helpShown_ = 0;
        return;
    }
    timer2_.stop();
    // A size smaller than the messages' lets the whole help stand at once.
    text7_->setFont(JapaneseFont(8));
    text7_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text7_->setGeometry(TwipsRect(15, 0, 2700, 6800));
    text7_->setPlainText(HelpText());
    text7_->show();
    text7_->raise();
    helpShown_ = 1;
}

// --- picture --------------------------------------------------------------------

void DigitizerPanel::TakePicture(const QImage& picture, const QString& caption) {
    // A new picture starts the calibration afresh.
    core::AxisCalibration& cal = workspace_.calibration;
    cal.calibrationConfirmed = 0;
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    cal.xAxisDrawn = cal.yAxisDrawn = 0;
    pickMode_ = core::kPickNone;
    // The point boxes going off take the mid points with them, as a click
    // that turns a point box off does: their positions were on the old picture.
    DisarmMidPoints();
    for (QCheckBox* mid : midBox_) mid->setChecked(false);
    canvas_.SetCanvasPicture(picture);
    canvas_.SetFloatingLabel(QString());
    mainWindow_.LayOutCanvas();
    mainWindow_.setWindowTitle(caption);
    FailCalibration();
    canvas_.update();
}

void DigitizerPanel::PastePicture() {
    TakePicture(QApplication::clipboard()->image(), QStringLiteral("Kuvatelix <Graph Paste>"));
}

bool DigitizerPanel::LoadPictureFile(const QString& path) {
    QImageReader reader(path);
    reader.setAllocationLimit(1024);  // MB: a 6000 x 8000 scan takes 192
    const QImage picture = reader.read();
    if (picture.isNull()) {
        ShowMessage(reader.errorString());
        return false;
    }
    // The caption names the file as the file name box holds it: the full name.
    TakePicture(picture, QStringLiteral("Kuvatelix <") + QDir::toNativeSeparators(path).trimmed() +
                             QStringLiteral(">"));
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(workspace_.data, line);
    dataSet_->EmptyPointBoxes();
    return true;
}

void DigitizerPanel::OpenPictureFile() {
    loadMode_ = 3;
    const bool mainShown = mainWindow_.isVisible();
    if (mainShown) mainWindow_.setEnabled(false);
    setEnabled(false);
    QFileDialog dialog(this, QStringLiteral("データ呼込み"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("*.BMP;*.JPG (*.BMP *.JPG *.bmp *.jpg *.jpeg)"),
                           QStringLiteral("PNG (*.png *.PNG)"),
                           QStringLiteral("TIFF (*.tif *.tiff *.TIF *.TIFF)"),
                           QStringLiteral("* (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        LoadPictureFile(dialog.selectedFiles().first());
    }
    loadMode_ = 0;
    mainWindow_.setEnabled(true);
    setEnabled(true);
    show();
}

// --- capture --------------------------------------------------------------------

void DigitizerPanel::StartCapture() {
    dataSet_->setWindowTitle(QStringLiteral("DataSet"));
    core::AxisCalibration& cal = workspace_.calibration;
    if (cal.calibrationInvalid != 0 || cal.calibrationConfirmed == 0) return;
    core::DataSet& ds = workspace_.data;
    ds.captureMode = 1;
    int selected = -1;
    for (int i = 0; i < core::kMaxLines; ++i) {
        if (option1_[i]->isChecked()) selected = i;
    }
    if (selected < 0) {
        selected = 0;
        option1_[0]->setChecked(true);
        ds.captureLine = 1;
    }
    dataSet_->ShowPointCount(ds.pointCount[selected + 1]);
    dataSet_->EmptyPointBoxes();
    dataSet_->StackPointBoxes();
    dataSet_->SelectLine(selected);
    dataSet_->move(pos());
    dataSet_->setEnabled(true);
    dataSet_->show();
    dataSet_->raise();
    setEnabled(false);
    command5_->setEnabled(false);
    for (int line = 1; line <= core::kMaxLines && !ds.pointText[line].empty(); ++line) {
        dataSet_->ShowPointText(line, core::Trimmed(ds.pointText[line]));
    }
}

void DigitizerPanel::OnLineOption(int index) {
    if (workspace_.data.captureMode != 1) return;
    dataSet_->FollowPanelLine(index, option1_[index]->isChecked());
}

void DigitizerPanel::SetCaptureStartEnabled(bool enabled) {
    command5_->setEnabled(enabled);
}

void DigitizerPanel::StopLiveTimer() {
    timer1_.stop();
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
    cal.calibrationConfirmed = 0;
    cal.frameReady = 0;
    autoConfirmDone_ = 0;
    cal.xAxisDrawn = cal.yAxisDrawn = 0;
    for (QLineEdit* box : {text8_, text9_}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QColor(0, 0, 5));
        box->setPalette(palette);
    }
    cal.calibrationInvalid = 1;
    mainWindow_.activateWindow();
    canvas_.RestoreCanvasPicture();
    setCursor(SquarePointer());
    canvas_.setCursor(CrossPointer());
    for (int box = 1; box <= 4; ++box) SetPointBoxQuietly(box, false);
    core::ClearCalibrationPositions(cal);
    pickMode_ = core::kPickNone;
    canvas_.SetFloatingLabel(QString());
    ShowSamplingBoxes(false);
    // An armed mid point would make every following press a mid-point press,
    // so no calibration point could be placed again; its mark is wiped with
    // the others. The mid-point boxes go off as they do when a point box is
    // turned off, and wait for the next confirmation.
    DisarmMidPoints();
    for (QCheckBox* mid : midBox_) mid->setChecked(false);
    EnableMidControls(false);
    command4_->setEnabled(true);
    command5_->setEnabled(false);
}

}  // namespace kx::ui
