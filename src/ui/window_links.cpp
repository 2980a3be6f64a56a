#include "ui/window_links.h"

#include "ui/canvas.h"
#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"
#include "ui/pointers.h"
#include "ui/program_window.h"

namespace kx::ui {

WindowLinks::WindowLinks(Workspace& workspace, MainWindow& mainWindow, DigitizerPanel& panel)
    : workspace_(workspace),
      mainWindow_(mainWindow),
      panel_(panel),
      program_(std::make_unique<ProgramWindow>(workspace)),
      keyboard_(std::make_unique<KeyboardWindow>(workspace, *program_)) {
    DataSetWindow& dataSet = panel_.dataSetWindow();
    QObject::connect(&dataSet, &DataSetWindow::programGenerationRequested, program_.get(),
                     [this](QWidget* opener) { program_->openFrom(opener); });
    QObject::connect(program_.get(), &ProgramWindow::returned, program_.get(),
                     [this](QWidget* opener) { ReturnFromProgram(opener); });
    QObject::connect(program_.get(), &ProgramWindow::panelTimersStopRequested, &panel_,
                     [this] { panel_.StopLiveTimer(); });

    QObject::connect(&panel_, &DigitizerPanel::keyboardEntryRequested, keyboard_.get(),
                     [this] { keyboard_->openFrom(&panel_); });
    QObject::connect(keyboard_.get(), &KeyboardWindow::canvasHideRequested, &mainWindow_,
                     [this] { mainWindow_.hide(); });
    QObject::connect(keyboard_.get(), &KeyboardWindow::returnedToDigitizer, &mainWindow_,
                     [this](QWidget*) { ReturnFromKeyboard(); });
    panel_.setKeyboardEntryAvailable(true);
}

WindowLinks::~WindowLinks() = default;

void WindowLinks::ReturnFromProgram(QWidget* opener) {
    DataSetWindow& dataSet = panel_.dataSetWindow();
    if (opener != &dataSet) return;  // the keyboard window shows itself again
    dataSet.RefreshPointBoxesFromData();
    if (mainWindow_.isVisible()) mainWindow_.setEnabled(true);
}

void WindowLinks::ReturnFromKeyboard() {
    mainWindow_.setEnabled(true);
    mainWindow_.show();
    mainWindow_.canvas().setCursor(CrossPointer());
}

}  // namespace kx::ui
