#pragma once

#include <array>

#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace kx::ui {

// The exclusion window "排他方程式の設定": which coordinate systems are left
// out of the fit. At least one system must stay: the way back ("戻　る" or the
// frame) is refused with "計算座標系なし" otherwise.
class ExclusionWindow : public ChildWindow {
    Q_OBJECT
public:
    ExclusionWindow(Workspace& workspace, QWidget* mainWindow);

public slots:
    void IncludeAllSystems();  // "全て計算対象"
    void ShowHelp();           // "?"

protected:
    void Opening() override;
    bool CanReturn() override;

private:
    bool WriteFlags();  // false when every system is excluded

    Workspace& workspace_;
    std::array<QCheckBox*, 7> systemBox_{};
    QPlainTextEdit* helpText_;
    QLabel* message_;
};

}  // namespace kx::ui
