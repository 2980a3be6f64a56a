#pragma once

#include <array>
#include <cstdint>

#include "core/fitting/calc_settings.h"
#include "ui/window/child_window.h"
#include "ui/window/workspace.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kx::ui {

// The conditions window "計算処理条件設定": the error-evaluation mode, the
// cut-off precision and the fewest points of a section. Edits take effect as they are typed; the
// accept button checks them and goes back; any other way back ("ｷｬﾝｾﾙ", the frame) restores the
// values held when the window opened.
class ConditionsWindow : public ChildWindow {
    Q_OBJECT
public:
    ConditionsWindow(Workspace& workspace, QWidget* mainWindow);

public slots:
    void AcceptSettings();     // "ＯＫ"
    void SetStandardValues();  // "標準値"

protected:
    void Opening() override;
    void Returning() override;

private:
    void ChooseMode(int mode);
    void ModeEdited(const QString& text);
    void PrecisionEdited(const QString& text);
    void ShowPrecision(float precision);
    void PrecisionBoxLeft();
    void MinSectionEdited(const QString& text);

    Workspace& workspace_;
    // The values the window goes back to unless they are accepted.
    int16_t heldMode_ = 0;
    float heldPrecision_ = 0.0f;
    int16_t heldMinSection_ = core::kStandardMinSection;

    std::array<QRadioButton*, 3> modeOption_{};
    QLineEdit* modeBox_;
    QLineEdit* precisionBox_;
    QLabel* modeLabel_;
    QLabel* modeError_;
    QLabel* gradeLabel_;
    QLabel* precisionError_;
    QLabel* precisionLabel_;
    QLineEdit* minSectionBox_;
    QLabel* minSectionError_;
};

}  // namespace kx::ui
