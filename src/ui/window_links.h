#pragma once

#include <memory>

#include "ui/workspace.h"

class QWidget;

namespace kx::ui {

class DigitizerPanel;
class KeyboardWindow;
class MainWindow;
class ProgramWindow;

// The windows behind the digitizer's buttons and the hand-overs between them:
// the DataSet window and the keyboard-entry window open the program-generation
// window, which returns to whichever opened it; the panel opens the keyboard
// entry. The digitizer windows are made by the caller (main() or a test).
class WindowLinks {
public:
    WindowLinks(Workspace& workspace, MainWindow& mainWindow, DigitizerPanel& panel);
    ~WindowLinks();
    WindowLinks(const WindowLinks&) = delete;
    WindowLinks& operator=(const WindowLinks&) = delete;

    ProgramWindow& programWindow() { return *program_; }
    KeyboardWindow& keyboardWindow() { return *keyboard_; }

private:
    void ReturnFromProgram(QWidget* opener);
    void ReturnFromKeyboard();

    Workspace& workspace_;
    MainWindow& mainWindow_;
    DigitizerPanel& panel_;
    std::unique_ptr<ProgramWindow> program_;
    std::unique_ptr<KeyboardWindow> keyboard_;
};

}  // namespace kx::ui
