#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

#include "core/files/session.h"
#include "ui/files/file_window.h"

class QPushButton;

namespace kx::ui {

// The load window "データ呼込み" (`Form22`): a file is picked from the drive,
// folder and file lists or typed, then a data file is read into the data set
// (modes 1 and 2) or a picture handed to the canvas (mode 3). The window
// closes itself once the file is loaded; a file that cannot be loaded keeps it
// open with the reason in its message box. What the loaded file means to the
// other windows is the owner's (Desktop) to finish when the window returns.
class LoadWindow : public FileWindow {
    Q_OBJECT
public:
    enum Mode : int16_t {
        kNoLoad = 0,
        kDataForDataSet = 1,  // the DataSet window's "数値ﾃﾞｰﾀの呼込み"
        kDataFromPanel = 2,   // the panel's menu entry FFRD
        kPicture = 3,         // the panel's "画像ﾌｧｲﾙの読み" and BITMAP
        kSession = 4,         // the panel's "作業の呼込み"
    };
    enum class Ending { kLoaded, kBack, kCancelled };
    // Puts a picture file on the canvas; returns why it could not, or nothing.
    using PictureLoader = std::function<QString(const QString& fileName)>;
    // Puts a session read from a file in place of the work; returns why it
    // could not (nothing is changed then), or nothing.
    using SessionOpener =
        std::function<QString(const QString& fileName, const core::Session& session)>;

    LoadWindow(Workspace& workspace, QWidget* mainWindow, DriveSource drives = SystemDrives);

    void SetPictureLoader(PictureLoader loader) { loadPicture_ = std::move(loader); }
    void SetSessionOpener(SessionOpener opener) { openSession_ = std::move(opener); }
    void OpenInMode(Mode mode, QWidget* opener);
    Mode loadMode() const { return mode_; }
    // How the last opening ended, and in which mode it had been.
    Ending ending() const { return ending_; }
    Mode endedMode() const { return endedMode_; }

public slots:
    void Load();    // "決定", and a double click on a file
    void Cancel();  // "ｷｬﾝｾﾙ"; "戻 る" is ReturnToOpener

signals:
    // The ten lines of the data set were reset and filled from a file, wholly
    // or up to a record the reader refused.
    void linesReplaced();

protected:
    void Opening() override;
    void Returning() override;
    std::string& Filter() override;
    void FileClicked(const QString& fullName) override;
    void FileDoubleClicked(const QString& fullName) override;
    void NameEdited(const QString& text) override;

private:
    void NameBoxLeft();
    void LoadData(const std::string& fullName);
    void LoadPicture(const std::string& fullName);
    void LoadSession(const std::string& fullName);
    void ShowFault(const QString& text);

    PictureLoader loadPicture_;
    SessionOpener openSession_;
    std::string sessionFilter_{core::kSessionFilter};
    QPushButton* loadButton_;
    QPushButton* backButton_;
    QPushButton* cancelButton_;
    Mode mode_ = kNoLoad;
    Mode endedMode_ = kNoLoad;
    Ending ending_ = Ending::kBack;
};

}  // namespace kx::ui
