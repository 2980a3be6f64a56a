#include "ui/files/file_browser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>
#include <string>

#include "core/files/file_filter.h"
#include "core/files/file_names.h"
#include "ui/files/files_names.h"

namespace kx::ui {
namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A folder as the lists hold it: absolute, clean, native separators.
QString NativeFolder(const QString& folder) {
    const QString absolute = QFileInfo(QDir::fromNativeSeparators(folder)).absoluteFilePath();
    return QDir::toNativeSeparators(QDir::cleanPath(absolute));
}

QString Parent(const QString& folder) {
    return FromUtf8(core::FolderOfName(Utf8(folder)));
}

// The last part of a folder's name; a root is named whole.
QString LastPart(const QString& folder) {
    const QString name = QFileInfo(QDir::fromNativeSeparators(folder)).fileName();
    return name.isEmpty() ? folder : name;
}

}  // namespace

std::vector<Drive> SystemDrives() {
    std::vector<Drive> drives;
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    volumes.prepend(QStorageInfo::root());
    for (const QStorageInfo& volume : volumes) {
        // A container mounts single files too; only folders are drives.
        if (!QFileInfo(volume.rootPath()).isDir()) continue;
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        if (std::any_of(drives.begin(), drives.end(),
                        [&](const Drive& drive) { return drive.root == root; })) {
            continue;
        }
        const bool ready =
            volume.isValid() && volume.isReady() && QDir(volume.rootPath()).isReadable();
        drives.push_back({root, volume.name(), ready});
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

FileBrowser::FileBrowser(QWidget* parent, DriveSource drives)
    : QObject(parent),
      drives_(std::move(drives)),
      driveList_(new QComboBox(parent)),
      folderList_(new QListWidget(parent)),
      fileList_(new QListWidget(parent)) {
    driveList_->setObjectName(names::file_window::kDriveList);
    folderList_->setObjectName(names::file_window::kFolderList);
    fileList_->setObjectName(names::file_window::kFileList);
    fileList_->setUniformItemSizes(true);  // thousands of names lay out at once

    connect(driveList_, &QComboBox::activated, this, &FileBrowser::ChooseDrive);
    connect(folderList_, &QListWidget::itemClicked, this, &FileBrowser::OpenFolderItem);
    connect(fileList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(FullNameOf(item)); });
    connect(fileList_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit fileDoubleClicked(FullNameOf(item)); });
}

void FileBrowser::ListDrives() {
    listed_ = drives_();
    const QSignalBlocker quiet(driveList_);
    driveList_->clear();
    for (const Drive& drive : listed_) {
        driveList_->addItem(drive.label.isEmpty() ? drive.root
                                                  : drive.root + "  [" + drive.label + "]");
    }
    if (!folder_.isEmpty()) SelectDriveOf(folder_);
}

QString FileBrowser::drive() const {
    const int index = driveList_->currentIndex();
    return index >= 0 && index < static_cast<int>(listed_.size()) ? listed_[index].root
                                                                  : QString();
}

void FileBrowser::SelectDriveOf(const QString& folder) {
    std::vector<std::string> roots;
    for (const Drive& drive : listed_) roots.push_back(Utf8(drive.root));
    const QString root = FromUtf8(core::DriveOfFolder(Utf8(folder), roots));
    int index = -1;
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i) {
        if (listed_[i].root == root) index = i;
    }
    const QSignalBlocker quiet(driveList_);
    driveList_->setCurrentIndex(index);
}

QString FileBrowser::ShowFolder(const QString& folder) {
    QString shown = NativeFolder(folder.trimmed().isEmpty() ? QDir::currentPath() : folder);
    while (!QFileInfo(QDir::fromNativeSeparators(shown)).isDir()) {
        const QString up = Parent(shown);
        if (up.isEmpty() || up == shown) {
            shown = NativeFolder(QDir::currentPath());
            break;
        }
        shown = up;
    }
    folder_ = shown;
    SelectDriveOf(folder_);
    FillFolderList();
    FillFileList();
    return folder_;
}

void FileBrowser::ApplyFilter(const QString& filter) {
    filter_ = filter;
    FillFileList();
}

void FileBrowser::FillFolderList() {
    // The way down from the drive's root (or the file system's), then the
    // folders inside the folder shown.
    const QString root = drive();
    QStringList way{folder_};
    while (way.first() != root) {
        const QString up = Parent(way.first());
        if (up.isEmpty() || up == way.first() || up.size() < root.size()) break;
        way.prepend(up);
    }
    const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QSignalBlocker quiet(folderList_);
    folderList_->clear();
    int depth = 0;
    for (const QString& step : way) {
        auto* item = new QListWidgetItem(open, QString(2 * depth++, ' ') + LastPart(step));
        item->setData(Qt::UserRole, step);
        folderList_->addItem(item);
    }
    folderList_->setCurrentRow(folderList_->count() - 1);
    const QDir dir(QDir::fromNativeSeparators(folder_));
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(closed, QString(2 * depth, ' ') + name);
        item->setData(Qt::UserRole, FromUtf8(core::FullFileName(Utf8(folder_), Utf8(name))));
        folderList_->addItem(item);
    }
}

void FileBrowser::FillFileList() {
    const core::FileFilter filter(Utf8(filter_));
    QStringList shown;
    const QDir dir(QDir::fromNativeSeparators(folder_));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (filter.Matches(Utf8(name))) shown << name;
    }
    const QSignalBlocker quiet(fileList_);
    fileList_->clear();
    fileList_->addItems(shown);
}

void FileBrowser::ChooseDrive(int index) {
    if (index < 0 || index >= static_cast<int>(listed_.size())) return;
    const QString root = listed_[index].root;
    // Asked now: a volume may have gone since the list was made.
    bool ready = false;
    for (const Drive& drive : drives_()) {
        if (drive.root == root) ready = drive.ready;
    }
    if (!ready || !QFileInfo(QDir::fromNativeSeparators(root)).isDir()) {
        SelectDriveOf(folder_);
        emit driveNotReady();
        return;
    }
    ShowFolder(root);
    emit folderOpened(folder_, root);
}

void FileBrowser::OpenFolderItem(QListWidgetItem* item) {
    const QString folder = item->data(Qt::UserRole).toString();
    if (folder == folder_) return;
    ShowFolder(folder);
    emit folderOpened(folder_, QString());
}

QString FileBrowser::FullNameOf(const QListWidgetItem* item) const {
    return FromUtf8(core::FullFileName(Utf8(folder_), Utf8(item->text())));
}

}  // namespace kx::ui
