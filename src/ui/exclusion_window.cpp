#include "ui/exclusion_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/japanese_font.h"
#include "ui/twips.h"

namespace kx::ui {
namespace {

const char* const kSystems[7] = {"Ｘ　、Ｙ　座標",         "Ｌｎ（Ｘ）　、Ｙ　座標",
                                 "Ｘ　、Ｌｎ（Ｙ）　座標", "Ｌｎ（Ｘ）　、Ｌｎ（Ｙ）　座標",
                                 "１／Ｘ　、Ｙ　座標",     "Ｘ　、１／Ｙ　座標",
                                 "１／Ｘ　、１／Ｙ　座標"};

const char* const kHelp =
    "排他座標系（計算対象としたくない座標系）にチェックを入れます｡X､Yそれぞれゼロ､"
    "又は負になる可能性がある場合は､該当座標系にチェックを入れます｡処理中に自動判断"
    "されますが､特別定義したいときに指定します｡ ";

}  // namespace

ExclusionWindow::ExclusionWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName("Form82");
    setWindowTitle("排他方程式の設定");
    setFont(JapaneseFont(9));
    setFixedSize(TwipsToPixels(7500), TwipsToPixels(4200));

    auto* title = new QLabel("排他座標系の指定", this);
    title->setObjectName("Label3");
    title->setGeometry(TwipsRect(240, 120, 3000, 330));
    title->setStyleSheet("QLabel { color: rgb(0, 0, 160); font-weight: bold; }");
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(kSystems[i], this);
        box->setObjectName(ArrayName("Check1", i));
        box->setGeometry(TwipsRect(360, 480 + 360 * i, 3900, 330));
        check1_[i] = box;
    }

    auto* all = Button(this, "Command1", "全て計算対象", TwipsRect(240, 3180, 1800, 450));
    connect(all, &QPushButton::clicked, this, &ExclusionWindow::command1Click);
    auto* back = Button(this, "Command2", "戻　る", TwipsRect(2280, 3180, 1500, 450));
    connect(back, &QPushButton::clicked, this, &ExclusionWindow::command2Click);
    auto* help = Button(this, "Command3", "?", TwipsRect(4200, 3180, 480, 450));
    connect(help, &QPushButton::clicked, this, &ExclusionWindow::command3Click);

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName("Text1");
    text1_->setReadOnly(true);
    text1_->setGeometry(TwipsRect(4200, 480, 3060, 2580));
    text1_->setStyleSheet("QPlainTextEdit { background: rgb(255, 255, 210); }");
    text1_->viewport()->installEventFilter(this);
    text1_->hide();

    label4_ = new QLabel("計算座標系なし", this);
    label4_->setObjectName("Label4");
    label4_->setGeometry(TwipsRect(240, 3720, 3000, 330));
    label4_->setStyleSheet("QLabel { color: rgb(255, 0, 0); font-weight: bold; }");
    label4_->installEventFilter(this);
    label4_->hide();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(8000);
    connect(&timer1_, &QTimer::timeout, this, &ExclusionWindow::timer1Tick);
}

void ExclusionWindow::openFrom(QWidget* opener) {
    opener_ = opener;
    if (opener != nullptr) opener->setEnabled(false);
    for (int i = 0; i < 7; ++i) {
        check1_[i]->setChecked(workspace_.settings.excludedSystem[i + 1] == 1);
    }
    text1_->hide();
    label4_->hide();
    closingChecked_ = false;
    timer1_.start();
    show();
    raise();
    activateWindow();
}

void ExclusionWindow::command1Click() {
    for (int i = 0; i < 7; ++i) {
        check1_[i]->setChecked(false);
        workspace_.settings.excludedSystem[i + 1] = 0;
    }
}

bool ExclusionWindow::writeFlags() {
    bool anyFitted = false;
    for (int i = 0; i < 7; ++i) {
        const bool excluded = check1_[i]->isChecked();
        workspace_.settings.excludedSystem[i + 1] = excluded ? 1 : 0;
        anyFitted = anyFitted || !excluded;
    }
    return anyFitted;
}

void ExclusionWindow::command2Click() {
    if (!writeFlags()) {
        label4_->show();
        timer1_.start();
        return;
    }
    timer1_.stop();
    closingChecked_ = true;
    close();
}

void ExclusionWindow::command3Click() {
    text1_->setPlainText(kHelp);
    text1_->show();
    text1_->raise();
    timer1_.start();
}

void ExclusionWindow::timer1Tick() {
    text1_->hide();
    label4_->hide();
}

void ExclusionWindow::closeEvent(QCloseEvent* event) {
    // The frame's close button goes back as "戻　る" does, with its check.
    if (!closingChecked_ && !writeFlags()) {
        label4_->show();
        timer1_.start();
        event->ignore();
        return;
    }
    closingChecked_ = false;
    timer1_.stop();
    if (opener_ != nullptr) opener_->setEnabled(true);
    event->accept();
}

bool ExclusionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == label4_) label4_->hide();
        if (watched == text1_->viewport()) text1_->hide();
    }
    return false;
}

}  // namespace kx::ui
