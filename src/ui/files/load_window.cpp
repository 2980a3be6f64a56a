#include "ui/files/load_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/files/data_file.h"
#include "core/files/file_memory.h"
#include "core/files/file_names.h"
#include "ui/files/files_names.h"
#include "ui/window/controls.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::load;

const QColor kFaultColour(255, 0, 0);

}  // namespace

LoadWindow::LoadWindow(Workspace& workspace, QWidget* mainWindow, DriveSource drives)
    : FileWindow(workspace, mainWindow, n::kWindow, QStringLiteral("データ呼込み"), "データ読込み",
                 n::kFilterBox, n::kMessageBox, std::move(drives)) {
    loadButton_ = Button(this, n::kLoadButton, "決定", ButtonPlace(120, 3660));
    backButton_ = Button(this, n::kBackButton, "戻 る", ButtonPlace(3900, 1770));
    cancelButton_ = Button(this, n::kCancelButton, "ｷｬﾝｾﾙ", ButtonPlace(5790, 1890));
    loadButton_->setDefault(true);

    SetUpMessageTimer(n::kMessageTimer, 5000, true);
    AddMessageBox(messageBox_, true);

    connect(loadButton_, &QPushButton::clicked, this, &LoadWindow::Load);
    // A default button acts on Enter only in a dialog: the name box does it.
    connect(nameBox_, &QLineEdit::returnPressed, this, &LoadWindow::Load);
    connect(backButton_, &QPushButton::clicked, this, &LoadWindow::ReturnToOpener);
    connect(cancelButton_, &QPushButton::clicked, this, &LoadWindow::Cancel);
    connect(&WidgetEvents::Of(nameBox_), &WidgetEvents::focusLost, this, &LoadWindow::NameBoxLeft);
    connect(browser_, &FileBrowser::driveNotReady, this,
            [this] { ShowFault(QStringLiteral("ドライブの準備が出来ていません")); });
}

void LoadWindow::OpenInMode(Mode mode, QWidget* opener) {
    mode_ = mode;
    OpenFrom(opener);
}

void LoadWindow::Opening() {
    ending_ = Ending::kBack;
    PlaceOnFirstOpening();
    heading_->setText(mode_ == kPicture   ? QStringLiteral("画像呼込み")
                      : mode_ == kSession ? QStringLiteral("作業の呼込み")
                                          : QStringLiteral("数値ﾃﾞｰﾀ呼込み"));
    messageBox_->hide();
    ShowRememberedFile(true);
}

void LoadWindow::Returning() {
    messageBox_->hide();
    endedMode_ = mode_;
    mode_ = kNoLoad;
}

std::string& LoadWindow::Filter() {
    if (mode_ == kSession) return sessionFilter_;
    return mode_ == kPicture ? workspace_.files.pictureFilter : workspace_.files.dataFilter;
}

void LoadWindow::Cancel() {
    core::ForgetFile(workspace_.files);
    ending_ = Ending::kCancelled;
    ReturnToOpener();
}

// --- choosing ----------------------------------------------------------------

void LoadWindow::FileClicked(const QString& fullName) {
    messageBox_->hide();
    ShowName(fullName);
    RememberFile(fullName.toStdString());
}

void LoadWindow::FileDoubleClicked(const QString& fullName) {
    FileClicked(fullName);
    Load();
}

void LoadWindow::NameEdited(const QString& text) {
    if (!core::IsRememberedName(text.toStdString())) return;
    workspace_.files.fileName = NameInBox();
    messageBox_->hide();
}

void LoadWindow::NameBoxLeft() {
    const std::string text = nameBox_->text().toStdString();
    if (core::IsRememberedName(text)) {
        workspace_.files.fileTitle = core::FileTitleOf(text);
    } else {
        // Set for the next showing of the box, not shown now: the box also
        // holds a folder while the user browses.
        messageBox_->setText(QStringLiteral("ファイル名が不正"));
    }
}

// --- loading -----------------------------------------------------------------

void LoadWindow::Load() {
    const std::string name = NameInBox();
    if (!name.empty()) {
        RememberFile(name);
        ShowFolderOf(name);
        ShowName(QString::fromStdString(name));
    }
    if (mode_ == kPicture) {
        LoadPicture(name);
    } else if (mode_ == kSession) {
        LoadSession(name);
    } else {
        LoadData(name);
    }
}

void LoadWindow::LoadData(const std::string& fullName) {
    const core::DataFileRead read = core::ReadDataFile(fullName);
    if (read.outcome == core::DataFileOutcome::kCannotOpen) {
        // Nothing was read, so nothing collected is given up for it.
        ShowFault(QStringLiteral("ﾌｧｲﾙ名不正"));
        return;
    }
    core::ApplyDataFileRead(workspace_.data, read);
    emit linesReplaced();
    if (read.outcome == core::DataFileOutcome::kBadContent) {
        ShowFault(QStringLiteral("ﾌｧｲﾙ内容不正"));
        return;
    }
    ending_ = Ending::kLoaded;
    ReturnToOpener();
}

void LoadWindow::LoadPicture(const std::string& fullName) {
    Q_ASSERT(loadPicture_);
    const QString fault = loadPicture_(QString::fromStdString(fullName));
    if (!fault.isEmpty()) {
        ShowFault(fault);
        return;
    }
    ending_ = Ending::kLoaded;
    ReturnToOpener();
}

void LoadWindow::LoadSession(const std::string& fullName) {
    Q_ASSERT(openSession_);
    // A damaged, cut or foreign file is refused before the work is touched.
    const core::SessionRead read = core::ReadSession(fullName);
    if (!read.outcome.ok()) {
        ShowFault(read.outcome.status == core::SessionStatus::kCannotOpen
                      ? QStringLiteral("ﾌｧｲﾙ名不正")
                      : QStringLiteral("ﾌｧｲﾙ内容不正"));
        return;
    }
    const QString fault = openSession_(QString::fromStdString(fullName), read.session);
    if (!fault.isEmpty()) {
        ShowFault(fault);
        return;
    }
    ending_ = Ending::kLoaded;
    ReturnToOpener();
}

void LoadWindow::ShowFault(const QString& text) {
    ShowMessage(text, kFaultColour);
}

}  // namespace kx::ui
