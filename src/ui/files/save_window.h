#pragma once

#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <string>

#include "core/files/listing.h"
#include "core/files/save_file.h"
#include "ui/files/file_window.h"

class QPushButton;

namespace kx::ui {

// The save window "ﾃﾞｰﾀ書込み" (`Form24`): writes one file of the save kind
// its opener chose, the collected data (kinds 0 and 1) or a list of the
// program-generation window (kinds 2 to 5), and beyond those the program in C
// or Python, the check table and the plot (kinds 6 to 9), which offer a name
// with their own extension and list their own files. The save button checks the name
// and offers "了解" and "ＮＧ", asking first when the file exists; "了解"
// writes it through the atomic writer and returns to the opener. A failed
// write keeps the window open with the earlier file as it was.
class SaveWindow : public FileWindow {
    Q_OBJECT
public:
    // The text to write, UTF-8 with CR LF, made when the save is confirmed.
    using TextSource = std::function<std::string()>;
    // Writes the file of the kind at the name, whole or not at all.
    using FileWriter = std::function<core::SaveOutcome(const std::string& path)>;

    SaveWindow(Workspace& workspace, QWidget* mainWindow, DriveSource drives = SystemDrives);

    void OpenToSave(int saveKind, QWidget* opener, TextSource text);
    void OpenToWrite(int saveKind, QWidget* opener, FileWriter writer);
    int saveKind() const { return saveKind_; }
    bool offering() const;  // "了解" and "ＮＧ" are shown
    bool saving() const { return blinkTimer_.isActive(); }

public slots:
    void AcceptName();          // the save button `Command4`
    void Confirm();             // "了解"
    void Reject();              // "ＮＧ"
    void Cancel();              // "ｷｬﾝｾﾙ"; "戻る" is ReturnToOpener
    void BlinkSavingMessage();  // Timer2: "保存中" blinks, then the file is written

signals:
    void saved(const QString& fullName);

protected:
    void Opening() override;
    bool CanReturn() override { return !saving(); }
    void Returning() override;
    std::string& Filter() override;
    void FolderOpened(const QString& folder) override;
    void FileClicked(const QString& fullName) override;
    void NameEdited(const QString& text) override;

private:
    void NameBoxPressed();
    void Offer(bool offered);
    void Write();
    void EnableButtons(bool enabled);
    bool IsRememberedFile(const std::string& fullName) const;

    QPushButton* saveButton_;
    QPushButton* confirmButton_;
    QPushButton* rejectButton_;
    QPushButton* cancelButton_;
    QPushButton* backButton_;
    QTimer blinkTimer_;
    int blinkTicks_ = 0;
    int saveKind_ = 0;
    FileWriter writer_;
    // The file lists of the kinds with files of their own, as the user left
    // them in this run.
    std::array<std::string, core::kSaveKinds> ownFilters_;
    std::string target_;  // the name the save button accepted
};

}  // namespace kx::ui
