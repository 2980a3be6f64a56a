#include "ui/files/file_window.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>

#include "core/files/file_memory.h"
#include "core/files/file_names.h"
#include "ui/files/files_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"
#include "ui/window/widget_events.h"

namespace kx::ui {
namespace {

namespace n = names::file_window;

// The places shared by both windows, in twips; the buttons stand below.
constexpr int kWidth = 7800, kHeight = 5160;
constexpr int kLeftColumn = 120, kRightColumn = 3900, kColumnWidth = 3660;
constexpr int kBoxHeight = 330;

}  // namespace

FileWindow::FileWindow(Workspace& workspace, QWidget* mainWindow, const char* name,
                       const QString& caption, const char* title, const char* filterBoxName,
                       const char* messageBoxName, DriveSource drives)
    : ChildWindow(mainWindow, name, caption),
      workspace_(workspace),
      browser_(new FileBrowser(this, std::move(drives))) {
    // A window of fixed size that is only ever closed: a title and its close button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(kWidth), TwipsToPixels(kHeight));
    Title(this, n::kTitle, title, TwipsRect(kLeftColumn, 60, 2400, kBoxHeight));
    heading_ = NamedLabel(this, n::kHeading, QString(), TwipsRect(2640, 60, 5040, kBoxHeight));
    SetBold(heading_);
    nameBox_ = Box(this, n::kNameBox, TwipsRect(kLeftColumn, 480, 7560, kBoxHeight));
    browser_->driveList().setGeometry(TwipsRect(kLeftColumn, 930, kColumnWidth, kBoxHeight));
    filterBox_ = Box(this, filterBoxName, TwipsRect(kRightColumn, 930, kColumnWidth, kBoxHeight));
    browser_->folderList().setGeometry(TwipsRect(kLeftColumn, 1350, kColumnWidth, 2700));
    browser_->fileList().setGeometry(TwipsRect(kRightColumn, 1350, kColumnWidth, 2700));
    messageBox_ = NamedLabel(this, messageBoxName, QString(),
                             TwipsRect(kLeftColumn, 4140, 7560, kBoxHeight));
    messageBox_->setFrameShape(QFrame::Panel);
    messageBox_->setFrameShadow(QFrame::Sunken);
    SetBackground(messageBox_, Qt::white);
    messageBox_->hide();

    connect(browser_, &FileBrowser::folderOpened, this,
            [this](const QString& folder) { FolderOpened(folder); });
    connect(browser_, &FileBrowser::fileClicked, this, &FileWindow::FileClicked);
    connect(browser_, &FileBrowser::fileDoubleClicked, this, &FileWindow::FileDoubleClicked);
    connect(nameBox_, &QLineEdit::textEdited, this, &FileWindow::NameEdited);
    connect(filterBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { Filter() = text.toStdString(); });
    connect(filterBox_, &QLineEdit::returnPressed, this,
            [this] { browser_->ApplyFilter(filterBox_->text()); });
    // The pointer over the message box takes it away.
    const auto takeMessageAway = [this] {
        messageBox_->hide();
        messageTimer().stop();
    };
    WidgetEvents& message = WidgetEvents::Of(messageBox_);
    connect(&message, &WidgetEvents::pressed, this, takeMessageAway);
    connect(&message, &WidgetEvents::moved, this, takeMessageAway);
}

QRect FileWindow::ButtonPlace(int left, int width) {
    return TwipsRect(left, 4560, width, 450);
}

void FileWindow::PlaceOnFirstOpening() {
    if (placed_) return;
    placed_ = true;
    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - rect().center());
}

void FileWindow::ShowRememberedFile(bool folderInBox) {
    core::FileMemory& memory = workspace_.files;
    core::RestoreEmptyFilters(memory);
    const QString filter = QString::fromStdString(Filter());
    filterBox_->setText(filter);
    browser_->ApplyFilter(filter);
    browser_->ListDrives();
    if (!memory.fileName.empty()) {
        ShowFolderOf(memory.fileName);
        ShowName(QString::fromStdString(memory.fileName));
        return;
    }
    const bool folderRemembered = !memory.folderName.empty();
    browser_->ShowFolder(QString::fromStdString(memory.folderName));
    RememberFolder();
    ShowName(folderInBox && folderRemembered ? browser_->folder() : QString());
}

void FileWindow::ShowFolderOf(const std::string& fullName) {
    browser_->ShowFolder(QString::fromStdString(core::FolderOfName(fullName)));
    RememberFolder();
}

void FileWindow::RememberFolder() {
    workspace_.files.folderName = browser_->folder().toStdString();
    workspace_.files.driveName = browser_->drive().toStdString();
}

void FileWindow::RememberFile(const std::string& fullName) {
    workspace_.files.fileName = fullName;
    workspace_.files.fileTitle = core::FileTitleOf(fullName);
}

void FileWindow::FolderOpened(const QString&) {
    RememberFolder();
    ShowName(browser_->folder());
}

std::string FileWindow::NameInBox() const {
    return core::ResolvedFileName(browser_->folder().toStdString(),
                                  QDir::toNativeSeparators(nameBox_->text()).toStdString());
}

void FileWindow::ShowName(const QString& text) {
    // setText sends no textEdited: the window's own change is no typing.
    nameBox_->setText(text);
}

void FileWindow::ShowMessage(const QString& text, const QColor& colour) {
    messageBox_->setText(text);
    SetTextColour(messageBox_, colour);
    ShowMessageBox(messageBox_);
}

void FileWindow::ShowLastingMessage(const QString& text, const QColor& colour) {
    ShowMessage(text, colour);
    messageTimer().stop();
}

QString FileWindow::messageText() const {
    return messageBox_->text();
}

bool FileWindow::messageShown() const {
    return messageBox_->isVisible();
}

}  // namespace kx::ui
