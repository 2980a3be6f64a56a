#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>

#include "ui/workspace.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace kx::ui {

// The exclusion window "排他方程式の設定": which coordinate systems are left
// out of the fit. At least one system must stay.
class ExclusionWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExclusionWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Shows the window; `opener` is disabled until the window closes.
    void openFrom(QWidget* opener);

public slots:
    void command1Click();  // "全て計算対象"
    void command2Click();  // "戻　る"
    void command3Click();  // "?"
    void timer1Tick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool writeFlags();  // false when every system is excluded

    Workspace& workspace_;
    QPointer<QWidget> opener_;
    std::array<QCheckBox*, 7> check1_{};
    QPlainTextEdit* text1_;
    QLabel* label4_;
    QTimer timer1_;
    bool closingChecked_ = false;
};

}  // namespace kx::ui
