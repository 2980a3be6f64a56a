#include <QApplication>

#include "app/demo_state.h"
#include "ui/digitizer_panel.h"
#include "ui/japanese_font.h"
#include "ui/main_window.h"
#include "ui/window_links.h"
#include "ui/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setFont(kx::ui::JapaneseFont(9));
    kx::ui::Workspace workspace;
    kx::ui::MainWindow mainWindow(workspace);
    // The panel is the first window: it sets the start state and shows the
    // main window with the canvas beside itself.
    kx::ui::DigitizerPanel panel(workspace, mainWindow);
    kx::ui::WindowLinks links(workspace, mainWindow, panel);
    panel.show();
    kx::app::ApplyDemoState(workspace, mainWindow, panel);
    return app.exec();
}
