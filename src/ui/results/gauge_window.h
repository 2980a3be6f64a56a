#pragma once

#include <QTimer>
#include <QWidget>

#include "ui/window/workspace.h"

class QLabel;
class QPushButton;

namespace kx::ui {

// The progress gauge "計算状況目安": a row of "*" that grows with the partition
// counter of the running fit, and the stop button. It comes and goes with the
// run and has no way back of its own.
class GaugeWindow : public QWidget {
    Q_OBJECT
public:
    explicit GaugeWindow(const Workspace& workspace);

    void ClearGauge();
    void StartGauge();  // shows the window and starts the timer
    void StopGauge();   // stops the timer and hides the window
    QString gaugeText() const;

signals:
    void stopPressed();

public slots:
    void UpdateGauge();  // Timer1

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    const Workspace& workspace_;
    QLabel* gauge_;
    QPushButton* stopButton_;
    QTimer timer_;
};

}  // namespace kx::ui
