#include "ui/results/exclusion_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/results/results_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::exclusion;

const char* const kSystems[7] = {"Ｘ　、Ｙ　座標",         "Ｌｎ（Ｘ）　、Ｙ　座標",
                                 "Ｘ　、Ｌｎ（Ｙ）　座標", "Ｌｎ（Ｘ）　、Ｌｎ（Ｙ）　座標",
                                 "１／Ｘ　、Ｙ　座標",     "Ｘ　、１／Ｙ　座標",
                                 "１／Ｘ　、１／Ｙ　座標"};

const char* const kHelp =
    "排他座標系（計算対象としたくない座標系）にチェックを入れます｡X､Yそれぞれゼロ､"
    "又は負になる可能性がある場合は､該当座標系にチェックを入れます｡処理中に自動判断"
    "されますが､特別定義したいときに指定します｡ ";

}  // namespace

ExclusionWindow::ExclusionWindow(Workspace& workspace, QWidget* mainWindow)
    : ChildWindow(mainWindow, n::kWindow, QStringLiteral("排他方程式の設定")),
      workspace_(workspace) {
    setFixedSize(TwipsToPixels(7500), TwipsToPixels(4200));
    Title(this, n::kTitle, "排他座標系の指定", TwipsRect(240, 120, 3000, 330));
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(kSystems[i], this);
        box->setObjectName(ArrayName(n::kSystemBox, i));
        box->setGeometry(TwipsRect(360, 480 + 360 * i, 3900, 330));
        systemBox_[i] = box;
    }

    auto* all = Button(this, n::kAllButton, "全て計算対象", TwipsRect(240, 3180, 1800, 450));
    auto* back = Button(this, n::kBackButton, "戻　る", TwipsRect(2280, 3180, 1500, 450));
    auto* help = Button(this, n::kHelpButton, "?", TwipsRect(4200, 3180, 480, 450));

    helpText_ = new QPlainTextEdit(this);
    helpText_->setObjectName(n::kHelpText);
    helpText_->setReadOnly(true);
    helpText_->setGeometry(TwipsRect(4200, 480, 3060, 2580));
    SetBackground(helpText_, QColor(255, 255, 210));
    helpText_->hide();

    message_ = NamedLabel(this, n::kMessage, "計算座標系なし", TwipsRect(240, 3720, 3000, 330));
    SetTextColour(message_, QColor(255, 0, 0));
    SetBold(message_);
    message_->hide();

    SetUpMessageTimer(n::kMessageTimer, 8000, true);
    AddMessageBox(helpText_);
    AddMessageBox(message_);

    connect(all, &QPushButton::clicked, this, &ExclusionWindow::IncludeAllSystems);
    connect(back, &QPushButton::clicked, this, &ExclusionWindow::ReturnToOpener);
    connect(help, &QPushButton::clicked, this, &ExclusionWindow::ShowHelp);
    connect(&WidgetEvents::Of(message_), &WidgetEvents::pressed, message_, &QWidget::hide);
    connect(&WidgetEvents::Of(helpText_), &WidgetEvents::pressed, helpText_, &QWidget::hide);
}

void ExclusionWindow::Opening() {
    for (int i = 0; i < 7; ++i) {
        systemBox_[i]->setChecked(workspace_.settings.excludedSystem[i + 1] == 1);
    }
    helpText_->hide();
    message_->hide();
}

void ExclusionWindow::IncludeAllSystems() {
    for (int i = 0; i < 7; ++i) {
        systemBox_[i]->setChecked(false);
        workspace_.settings.excludedSystem[i + 1] = 0;
    }
}

bool ExclusionWindow::WriteFlags() {
    bool anyFitted = false;
    for (int i = 0; i < 7; ++i) {
        const bool excluded = systemBox_[i]->isChecked();
        workspace_.settings.excludedSystem[i + 1] = excluded ? 1 : 0;
        anyFitted = anyFitted || !excluded;
    }
    return anyFitted;
}

bool ExclusionWindow::CanReturn() {
    if (WriteFlags()) return true;
    ShowMessageBox(message_);
    return false;
}

void ExclusionWindow::ShowHelp() {
    helpText_->setPlainText(kHelp);
    ShowMessageBox(helpText_);
}

}  // namespace kx::ui
