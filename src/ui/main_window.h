#pragma once

#include <QMainWindow>

#include "ui/workspace.h"

namespace kx::ui {

// The main window "Kuvatelix" that holds the picture canvas.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& workspace, QWidget* parent = nullptr);

private:
    Workspace& workspace_;
};

}  // namespace kx::ui
