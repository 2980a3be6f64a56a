#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>

#include "ui/workspace.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kx::ui {

// The conditions window "計算処理条件設定": the error-evaluation mode and the
// cut-off precision. Edits take effect as they are typed; "ｷｬﾝｾﾙ" restores the
// values held when the window opened, the accept button checks them.
class ConditionsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConditionsWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Shows the window; `opener` is disabled until the window closes.
    void openFrom(QWidget* opener);

public slots:
    void command1Click();  // accept
    void command2Click();  // "標準値"
    void command3Click();  // "ｷｬﾝｾﾙ"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void optionChosen(int mode);
    void modeEdited(const QString& text);
    void precisionEdited(const QString& text);
    void showPrecision(float precision);
    void restoreSaved();
    void finish();

    Workspace& workspace_;
    QPointer<QWidget> opener_;
    int16_t savedMode_ = 0;
    float savedPrecision_ = 0.0f;
    bool closingChecked_ = false;

    std::array<QRadioButton*, 3> option1_{};
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLabel* label3_;
    QLabel* label5_;
    QLabel* label6_;
    QLabel* label7_;
    QLabel* label9_;
};

}  // namespace kx::ui
