#include <QApplication>

#include "ui/digitizer_panel.h"
#include "ui/main_window.h"
#include "ui/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kx::ui::Workspace workspace;
    kx::ui::MainWindow mainWindow(workspace);
    kx::ui::DigitizerPanel panel(workspace, mainWindow);
    mainWindow.show();
    panel.move(mainWindow.frameGeometry().topRight());
    panel.show();
    return app.exec();
}
