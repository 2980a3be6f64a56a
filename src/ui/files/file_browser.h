#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QWidget;

namespace kx::ui {

// A volume the drive list offers: a file system root or a mounted volume (a
// drive letter on Windows).
struct Drive {
    QString root;   // native separators, ending with the separator
    QString label;  // the volume's name, may be empty
    bool ready = true;
};

// The drives as they are now; asked again whenever one is chosen, so that a
// volume taken away in the meantime is found not ready.
using DriveSource = std::function<std::vector<Drive>()>;
std::vector<Drive> SystemDrives();

// The drive, folder and file lists of the load and save windows (`Drive1`,
// `Dir1`, `File1`), filled synchronously from the file system. The folder list
// shows the way from the drive's root down to the folder shown, then the
// folders inside it; a click opens a folder. The file list shows the files of
// that folder that match the filter. Names are full names with the platform's
// separators.
class FileBrowser : public QObject {
    Q_OBJECT
public:
    // The three lists are made in `parent`; the window places them.
    FileBrowser(QWidget* parent, DriveSource drives);

    // The drives as they are now, in the drive list.
    void ListDrives();
    // The window's own change of folder (no signal): the drive of the folder
    // chosen, both lists filled. A folder that is gone gives way to its
    // nearest existing ancestor, an empty name to the working folder. Returns
    // the folder shown.
    QString ShowFolder(const QString& folder);
    // The file list with another filter.
    void ApplyFilter(const QString& filter);

    const QString& folder() const { return folder_; }
    QString drive() const;
    QComboBox& driveList() { return *driveList_; }
    QListWidget& folderList() { return *folderList_; }
    QListWidget& fileList() { return *fileList_; }

signals:
    // The user opened a folder: by a click in the folder list, or by choosing
    // a drive (then `drive` is its root, else it is empty).
    void folderOpened(const QString& folder, const QString& drive);
    // A chosen drive is not ready: the drive list is back at the folder's drive.
    void driveNotReady();
    void fileClicked(const QString& fullName);
    void fileDoubleClicked(const QString& fullName);

private:
    void SelectDriveOf(const QString& folder);
    void FillFolderList();
    void FillFileList();
    void ChooseDrive(int index);
    void OpenFolderItem(QListWidgetItem* item);
    QString FullNameOf(const QListWidgetItem* item) const;

    DriveSource drives_;
    std::vector<Drive> listed_;
    QComboBox* driveList_;
    QListWidget* folderList_;
    QListWidget* fileList_;
    QString folder_;
    QString filter_;
};

}  // namespace kx::ui
