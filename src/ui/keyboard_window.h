#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>

#include "ui/workspace.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kx::ui {

class ProgramWindow;

// The keyboard-entry window "ﾃﾞｰﾀ入力": one page per line with its parameter
// and its X,Y pairs, typed or pasted; "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成" prepares the data set
// from the pages and opens the program-generation window.
class KeyboardWindow : public QWidget {
    Q_OBJECT
public:
    KeyboardWindow(Workspace& workspace, ProgramWindow& programWindow, QWidget* parent = nullptr);

    // Shows the window; "戻る" returns to `opener` (the digitizer panel).
    void openFrom(QWidget* opener);
    int currentPage() const { return currentPage_; }

signals:
    // The canvas window is to be hidden (program generation starts).
    void canvasHideRequested();
    // "戻る" hid this window and showed `opener`: the canvas window is to be
    // shown again with the cross pointer.
    void returnedToDigitizer(QWidget* opener);

public slots:
    void command1Click();  // "←"
    void command2Click();  // "→"
    void command3Click();  // "ﾌﾟﾛｸﾞﾗﾑｺｰﾄﾞの生成"
    void command4Click();  // "戻る"
    void command5Click();  // "？"
    void timer1Tick();     // clears and hides the message line

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showPage(int page);
    void dataEdited(int page);
    void takeDataBoxes();
    void showMessage(int number);

    Workspace& workspace_;
    ProgramWindow& programWindow_;
    QPointer<QWidget> opener_;
    std::array<QWidget*, 10> page_{};
    std::array<QLineEdit*, 10> text1_{};
    std::array<QPlainTextEdit*, 10> text2_{};
    std::array<QLineEdit*, 10> text3_{};
    QLabel* label6_;
    QPlainTextEdit* text4_;
    QLabel* text5_;
    QTimer timer1_;
    int currentPage_ = 0;
    bool loaded_ = false;
    bool normalising_ = false;
};

}  // namespace kx::ui
