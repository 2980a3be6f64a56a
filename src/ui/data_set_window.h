#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <string>

#include "ui/workspace.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kx::ui {

class DigitizerPanel;
class MainWindow;

// The DataSet window (`Form21`, caption "DataSet"): the collected points while
// they are captured from the picture, one point box per line, the selected
// line's parameter, number and point count; edits, resets, and the preparation
// of the data set for program generation or saving.
class DataSetWindow : public QWidget {
    Q_OBJECT
public:
    DataSetWindow(Workspace& workspace, DigitizerPanel& panel, MainWindow& mainWindow);

    // The ten point boxes emptied / laid on top of each other at the capture
    // position with only box `index` shown.
    void EmptyPointBoxes();
    void StackPointBoxes();
    void ShowOnlyPointBox(int index);
    // Box of `line` shows `text` (CR LF lines) without counting it as an edit.
    void ShowPointText(int line, const std::string& text);
    void ShowPointCount(int count);
    void ShowLineNumber(int line);
    void ShowParameter(const std::string& text);
    void SetLiveValues(const QString& x, const QString& y);
    // Every point box shows its line's point text again.
    void RefreshPointBoxesFromData();
    // Selects option `index` (line index + 1) as a click on it does.
    void SelectLine(int index);
    // Follows the panel's option `index`; clears the own options when the
    // panel has none selected.
    void FollowPanelLine(int index, bool selected);

    QString messageText() const;
    bool messageShown() const;

public slots:
    void onTrackTick();    // Timer1: captureLine follows the panel's options
    void onMessageTick();  // Timer2: hides the message line

signals:
    // The preparation succeeded: open the program-generation window.
    void programGenerationRequested(QWidget* opener);
    // A save button's preparation succeeded: open the save window.
    void saveRequested(QWidget* opener);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void OnLineOption(int index);
    void OnPointBoxEdited(int index);
    void CommitParameter();
    void ResetSelectedLine();
    void ResetAllLines();
    bool RunPreparation();
    void GenerateProgram();
    void SaveAll();
    void SaveSelected();
    void Save(int16_t saveKind, int16_t selectedLine);
    void ReturnToPanel();
    void ShowPreparationMessage(int state);
    void ShowMessage(const QString& text, const QColor& color, int left, int top, int width,
                     int height, bool wrap);
    void HideMessage();
    void ColourLineLabels(int selected);
    int SelectedOption() const;  // 0..9, -1 for none
    // Whether the window behind a button has been wired in: without it the
    // window stays usable after a successful preparation.
    bool OpensProgramWindow() const;
    bool OpensSaveWindow() const;

    Workspace& workspace_;
    DigitizerPanel& panel_;
    MainWindow& mainWindow_;

    std::array<QRadioButton*, core::kMaxLines> option1_{};
    std::array<QPlainTextEdit*, core::kMaxLines> text1_{};
    QLineEdit* text2_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QLineEdit* text6_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QLineEdit* text9_ = nullptr;
    QLabel* text3_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command7_ = nullptr;
    QTimer timer1_;
    QTimer timer2_;
    bool showingOwnText_ = false;
};

}  // namespace kx::ui
