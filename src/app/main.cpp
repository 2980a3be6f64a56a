#include <QApplication>
#include <QIcon>

#include <clocale>

#include "render/japanese_font.h"
#include "ui/window/desktop.h"
#include "ui/window/workspace.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Names the user's data folder, where the work is recorded as it changes.
    QCoreApplication::setApplicationName("kuvatelix");
    // The toolkit takes the user's locale; numbers in texts and files are
    // always written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    app.setFont(kx::render::JapaneseFont(9));
    // The installed menu entry and icon: the desktop shows the windows under
    // them (an uninstalled build finds no icon and keeps the default).
    QGuiApplication::setDesktopFileName("org.kuvatelix.Kuvatelix");
    app.setWindowIcon(QIcon::fromTheme("org.kuvatelix.Kuvatelix"));
    kx::ui::Workspace workspace;
    kx::ui::Desktop desktop(workspace, kx::ui::SystemDrives, kx::ui::RecoveryFolder());
    // The panel is the first window: it sets the start state and shows the
    // main window with the canvas beside itself.
    desktop.Start();
    return app.exec();
}
