#pragma once

namespace kx::ui {
class DigitizerPanel;
class MainWindow;
struct Workspace;
}  // namespace kx::ui

namespace kx::app {

// For screenshots and demonstrations: with KX_DEMO set to "panel", "error",
// "marks", "capture", "message" or "help" the program draws a sample graph and drives its own
// windows into that state, as a user would with the mouse. Unset, nothing
// happens.
void ApplyDemoState(ui::Workspace& workspace, ui::MainWindow& mainWindow,
                    ui::DigitizerPanel& panel);

}  // namespace kx::app
