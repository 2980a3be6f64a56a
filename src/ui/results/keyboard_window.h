#pragma once

#include <array>

#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kx::ui {

class ClipboardMemory;
class PairBox;

// The keyboard-entry window "ﾃﾞｰﾀ入力": one page per line with its parameter
// and its X,Y pairs, typed or pasted; "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成" prepares the data set
// from the pages and asks for the program-generation window. The window is
// only hidden when it goes back, so its pages keep their texts.
class KeyboardWindow : public ChildWindow {
    Q_OBJECT
public:
    KeyboardWindow(Workspace& workspace, const ClipboardMemory& clipboard, QWidget* mainWindow);

    int currentPage() const { return currentPage_; }

public slots:
    void ShowPreviousPage();  // "←"
    void ShowNextPage();      // "→"
    void GenerateProgram();   // "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成"
    void ShowInstructions();  // "？"

signals:
    // The canvas window is to be hidden (program generation starts).
    void canvasHideRequested();
    // The pages are prepared: the program-generation window is to open.
    void programGenerationRequested();

protected:
    void Opening() override;
    void changeEvent(QEvent* event) override;

private:
    void ShowPage(int page);
    void DataEdited(int page);
    void CountTypedPairs(int page);
    void TakeDataBoxes();
    void ShowMessage(int number);

    Workspace& workspace_;
    std::array<QWidget*, 10> page_{};
    std::array<QLineEdit*, 10> parameterBox_{};
    std::array<PairBox*, 10> dataBox_{};
    std::array<QLineEdit*, 10> countBox_{};
    QLabel* pageLabel_;
    QPlainTextEdit* instructions_;
    QLabel* messageLine_;
    int currentPage_ = 0;
    bool loaded_ = false;
};

}  // namespace kx::ui
