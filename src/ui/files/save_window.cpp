#include "ui/files/save_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>

#include "core/files/file_memory.h"
#include "core/files/file_names.h"
#include "core/files/listing.h"
#include "core/files/save_checks.h"
#include "core/files/save_file.h"
#include "core/files/save_kinds.h"
#include "ui/files/files_names.h"
#include "ui/window/controls.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::save;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

// The heading of each save kind; the save button says the same, except for
// the all-lines save.
constexpr const char* kKindNames[] = {
    "採取ﾃﾞｰﾀ全保存",  "採取ﾃﾞｰﾀ選択保存",     "計算ﾌﾟﾛｸﾞﾗﾑの保存",
    "計算適応式保存",  "計算結果全保存",       "履歴保存",
    "Cﾌﾟﾛｸﾞﾗﾑの保存",  "Pythonﾌﾟﾛｸﾞﾗﾑの保存",  "検証表の保存",
    "ｸﾞﾗﾌの保存",      "MATLABﾌﾟﾛｸﾞﾗﾑの保存",  "JavaScriptﾌﾟﾛｸﾞﾗﾑの保存",
    "C#ﾌﾟﾛｸﾞﾗﾑの保存", "Fortranﾌﾟﾛｸﾞﾗﾑの保存", "作業の保存"};
constexpr int kKinds = static_cast<int>(std::size(kKindNames));
static_assert(kKinds == core::kSaveKinds);

// "保存中" is shown and cleared in turn; an odd number of ticks ends cleared.
constexpr int kBlinkTicks = 9;
constexpr int kBlinkInterval = 40;  // ms

}  // namespace

SaveWindow::SaveWindow(Workspace& workspace, QWidget* mainWindow, DriveSource drives)
    : FileWindow(workspace, mainWindow, n::kWindow, QStringLiteral("ﾃﾞｰﾀ書込み"), "データの保存",
                 n::kFilterBox, n::kMessageBox, std::move(drives)) {
    // The confirm and reject buttons take the save button's place once it has
    // accepted a name.
    saveButton_ = Button(this, n::kSaveButton, "", ButtonPlace(120, 3660));
    confirmButton_ = Button(this, n::kConfirmButton, "了解", ButtonPlace(120, 1770));
    rejectButton_ = Button(this, n::kRejectButton, "ＮＧ", ButtonPlace(2010, 1770));
    cancelButton_ = Button(this, n::kCancelButton, "ｷｬﾝｾﾙ", ButtonPlace(3900, 1770));
    backButton_ = Button(this, n::kBackButton, "戻る", ButtonPlace(5790, 1890));
    Offer(false);

    SetUpMessageTimer(n::kMessageTimer, 3000, false);
    AddMessageBox(messageBox_, true);
    blinkTimer_.setObjectName(n::kBlinkTimer);
    blinkTimer_.setInterval(kBlinkInterval);
    connect(&blinkTimer_, &QTimer::timeout, this, &SaveWindow::BlinkSavingMessage);

    connect(saveButton_, &QPushButton::clicked, this, &SaveWindow::AcceptName);
    connect(confirmButton_, &QPushButton::clicked, this, &SaveWindow::Confirm);
    connect(rejectButton_, &QPushButton::clicked, this, &SaveWindow::Reject);
    connect(cancelButton_, &QPushButton::clicked, this, &SaveWindow::Cancel);
    connect(backButton_, &QPushButton::clicked, this, &SaveWindow::ReturnToOpener);
    connect(&WidgetEvents::Of(nameBox_), &WidgetEvents::pressed, this,
            &SaveWindow::NameBoxPressed);
}

void SaveWindow::OpenToSave(int saveKind, QWidget* opener, TextSource text) {
    OpenToWrite(saveKind, opener, [text = std::move(text)](const std::string& path) {
        return core::SaveText(path, text ? text() : std::string());
    });
}

void SaveWindow::OpenToWrite(int saveKind, QWidget* opener, FileWriter writer) {
    Q_ASSERT(saveKind >= 0 && saveKind < kKinds);
    saveKind_ = saveKind;
    workspace_.data.saveKind = static_cast<int16_t>(saveKind);
    writer_ = std::move(writer);
    OpenFrom(opener);
}

void SaveWindow::Opening() {
    PlaceOnFirstOpening();
    heading_->setText(QString::fromUtf8(kKindNames[saveKind_]));
    saveButton_->setText(saveKind_ == core::kSaveAllLines
                             ? QStringLiteral("入力ﾃﾞｰﾀの保存")
                             : QString::fromUtf8(kKindNames[saveKind_]));
    messageBox_->clear();
    messageBox_->hide();
    Offer(false);
    EnableButtons(true);
    std::string& filter = ownFilters_[static_cast<std::size_t>(saveKind_)];
    if (filter.empty()) filter = core::DefaultFilterOf(saveKind_);
    ShowRememberedFile(false);
    // A kind of another tool's files offers a name with its extension, never
    // the remembered data file itself.
    const std::string suggested = core::SuggestedSaveName(saveKind_, workspace_.files);
    if (!suggested.empty()) ShowName(QString::fromStdString(suggested));
    // The remembered file may be the picture just loaded: its name is not
    // offered for a file it would become.
    if (!core::MayReplaceContent(saveKind_, NameInBox())) ShowName(QString());
}

void SaveWindow::Returning() {
    messageBox_->hide();
    Offer(false);
}

std::string& SaveWindow::Filter() {
    std::string& own = ownFilters_[static_cast<std::size_t>(saveKind_)];
    return core::DefaultFilterOf(saveKind_).empty() ? workspace_.files.dataFilter : own;
}

void SaveWindow::Cancel() {
    core::ForgetFile(workspace_.files);
    ReturnToOpener();
}

bool SaveWindow::offering() const {
    return !confirmButton_->isHidden();
}

bool SaveWindow::IsRememberedFile(const std::string& fullName) const {
    return fullName == workspace_.files.fileName;
}

// --- browsing and typing -------------------------------------------------------

void SaveWindow::FolderOpened(const QString& folder) {
    Offer(false);
    FileWindow::FolderOpened(folder);
    saveButton_->setText(QStringLiteral("新規作成"));
}

void SaveWindow::FileClicked(const QString& fullName) {
    Offer(false);
    messageBox_->hide();
    const std::string name = fullName.toStdString();
    ShowName(fullName);
    if (!core::TakesClickedFile(saveKind_, name) || !core::MayReplaceContent(saveKind_, name)) {
        // Not a data file of this system: its name is shown, not taken over.
        ShowMessage(QStringLiteral("不適切なファイル名"), kRed);
        return;
    }
    RememberFile(name);
    saveButton_->setText(QStringLiteral("変更保存"));
}

void SaveWindow::NameEdited(const QString& text) {
    // A changed name is checked again before anything is written.
    Offer(false);
    const std::string name = NameInBox();
    saveButton_->setText(IsRememberedFile(name) ? QStringLiteral("上書き保存")
                                                : QStringLiteral("新規保存"));
    messageBox_->clear();
    messageBox_->hide();
    if (core::IsRememberedName(text.toStdString())) workspace_.files.fileName = name;
}

void SaveWindow::NameBoxPressed() {
    if (offering()) return;
    if (IsRememberedFile(NameInBox())) {
        saveButton_->setText(QStringLiteral("上書き保存"));
        return;
    }
    saveButton_->setText(QStringLiteral("新規作成"));
    messageBox_->clear();
}

// --- saving --------------------------------------------------------------------

void SaveWindow::Offer(bool offered) {
    saveButton_->setVisible(!offered);
    confirmButton_->setVisible(offered);
    rejectButton_->setVisible(offered);
}

void SaveWindow::AcceptName() {
    messageBox_->hide();
    saveButton_->hide();
    const std::string name = core::WithDefaultExtension(saveKind_, NameInBox());
    if (!core::SuitsSaveKind(saveKind_, core::FileTitleOf(name))) {
        ShowMessage(QStringLiteral("ﾌｧｲﾙ名が不適当"), kRed);
        saveButton_->show();
        return;
    }
    if (!core::MayReplaceContent(saveKind_, name)) {
        // A picture, a session or a file of another kind is never replaced.
        ShowMessage(QStringLiteral("不適切なファイル名"), kRed);
        saveButton_->show();
        return;
    }
    target_ = name;
    // The extension added to a typed name shows before the question.
    if (name != NameInBox()) ShowName(QString::fromStdString(name));
    if (core::SaveTargetExists(name)) {
        // The question waits for the answer: no timer takes it away.
        ShowLastingMessage(QStringLiteral("保存ﾌｧｲﾙ名はこれでＯＫ？"), kGreen);
    }
    Offer(true);
}

void SaveWindow::Reject() {
    messageBox_->clear();
    messageBox_->hide();
    Offer(false);
}

void SaveWindow::Confirm() {
    if (saving()) return;
    EnableButtons(false);
    ShowLastingMessage(QStringLiteral("保存中"), kRed);
    blinkTicks_ = 0;
    blinkTimer_.start();
}

void SaveWindow::BlinkSavingMessage() {
    ++blinkTicks_;
    messageBox_->setText(blinkTicks_ % 2 == 1 ? QString() : QStringLiteral("保存中"));
    if (blinkTicks_ < kBlinkTicks) return;
    blinkTimer_.stop();
    Write();
}

void SaveWindow::Write() {
    const core::SaveOutcome outcome =
        writer_ ? writer_(target_) : core::SaveText(target_, std::string());
    EnableButtons(true);
    Offer(false);
    if (outcome.status != core::SaveStatus::kSaved) {
        // The earlier file is as it was; another name may be tried.
        ShowLastingMessage(QStringLiteral("書込めません。"), kRed);
        return;
    }
    RememberFile(target_);
    messageBox_->hide();
    emit saved(QString::fromStdString(target_));
    ReturnToOpener();
}

void SaveWindow::EnableButtons(bool enabled) {
    for (QPushButton* button :
         {saveButton_, confirmButton_, rejectButton_, cancelButton_, backButton_}) {
        button->setEnabled(enabled);
    }
    nameBox_->setEnabled(enabled);
}

}  // namespace kx::ui
