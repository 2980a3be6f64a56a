#pragma once

#include <QTimer>
#include <QWidget>

#include "ui/workspace.h"

class QLabel;
class QPushButton;

namespace kx::ui {

// The progress gauge "計算状況目安": a row of "*" that grows with the partition
// counter of the running fit, and the stop button.
class GaugeWindow : public QWidget {
    Q_OBJECT
public:
    explicit GaugeWindow(const Workspace& workspace, QWidget* parent = nullptr);

    void clearGauge();
    void startGauge();  // shows the window and starts the timer
    void stopGauge();   // stops the timer and hides the window
    QString gaugeText() const;

signals:
    void stopPressed();

public slots:
    void timer1Tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    const Workspace& workspace_;
    QLabel* label1_;
    QPushButton* command1_;
    QTimer timer1_;
};

}  // namespace kx::ui
