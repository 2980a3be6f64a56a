#include "ui/digitizer_panel.h"

#include "ui/main_window.h"

namespace kx::ui {

DigitizerPanel::DigitizerPanel(Workspace& workspace, MainWindow& mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace), mainWindow_(mainWindow) {
    setObjectName("Form20");
    setWindowTitle("Tolvex_R1.0");
    workspace_.settings.errorMode = 2;
    workspace_.settings.excludedSystem = {};
}

}  // namespace kx::ui
