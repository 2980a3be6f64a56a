#include "ui/main_window.h"

namespace kx::ui {

MainWindow::MainWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace) {
    setObjectName("MDIForm20");
    setWindowTitle("Kuvatelix");
    resize(800, 600);
}

}  // namespace kx::ui
