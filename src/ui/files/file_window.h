#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <string>

#include "ui/files/file_browser.h"
#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QLabel;
class QLineEdit;

namespace kx::ui {

// What the load and save windows share: a title and a heading, the drive,
// folder and file lists, the file name box `Text1`, the filter box and the
// message box, all at the same places, and the file name, folder and drive
// they remember together for the whole run (Workspace::files).
class FileWindow : public ChildWindow {
    Q_OBJECT
public:
    FileBrowser& browser() { return *browser_; }
    QString messageText() const;
    bool messageShown() const;

protected:
    FileWindow(Workspace& workspace, QWidget* mainWindow, const char* name, const QString& caption,
               const char* title, const char* filterBoxName, const char* messageBoxName,
               DriveSource drives);

    // The filter the file list uses (the data or the picture filter).
    virtual std::string& Filter() = 0;
    // The user opened a folder, clicked or double-clicked a file, or edited
    // the file name box.
    virtual void FolderOpened(const QString& folder);
    virtual void FileClicked(const QString& fullName) = 0;
    virtual void FileDoubleClicked(const QString& fullName) { FileClicked(fullName); }
    virtual void NameEdited(const QString& text) = 0;

    // A place in the row of buttons below the message box (twips across).
    static QRect ButtonPlace(int left, int width);
    // The first opening puts the window in the middle of the screen; later
    // ones leave it where the user put it.
    void PlaceOnFirstOpening();
    // The opening: the filter in the filter box and the file list, the lists
    // at the remembered file's folder, the name in the file name box. Without
    // a remembered name the lists stand at the remembered folder, which the
    // box shows when `folderInBox` is set.
    void ShowRememberedFile(bool folderInBox);
    // The lists at the folder of a full name; the folder is remembered.
    void ShowFolderOf(const std::string& fullName);
    // The file name box's text as a full name: a relative name lies in the
    // folder shown.
    std::string NameInBox() const;
    // The window's own change of the file name box (no edit signal).
    void ShowName(const QString& text);
    void ShowMessage(const QString& text, const QColor& colour);
    // The message without its timer: it stays until the user acts.
    void ShowLastingMessage(const QString& text, const QColor& colour);
    void RememberFile(const std::string& fullName);

    Workspace& workspace_;
    QLabel* heading_;
    QLineEdit* nameBox_;
    QLineEdit* filterBox_;
    QLabel* messageBox_;
    FileBrowser* browser_;

private:
    void RememberFolder();

    bool placed_ = false;
};

}  // namespace kx::ui
