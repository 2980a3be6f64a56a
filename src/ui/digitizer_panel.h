#pragma once

#include <QWidget>

#include "ui/workspace.h"

namespace kx::ui {

class MainWindow;

// The digitizer panel "Tolvex_R1.0", the first window of the program.
class DigitizerPanel : public QWidget {
    Q_OBJECT
public:
    DigitizerPanel(Workspace& workspace, MainWindow& mainWindow, QWidget* parent = nullptr);

private:
    Workspace& workspace_;
    MainWindow& mainWindow_;
};

}  // namespace kx::ui
