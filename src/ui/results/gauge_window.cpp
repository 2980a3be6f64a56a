#include "ui/results/gauge_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "core/fitting/fit_family.h"
#include "render/japanese_font.h"
#include "ui/results/results_names.h"
#include "ui/window/controls.h"
#include "ui/window/twips.h"

namespace kx::ui {

namespace n = names::gauge;

GaugeWindow::GaugeWindow(const Workspace& workspace)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      workspace_(workspace) {
    setObjectName(n::kWindow);
    setWindowTitle("計算状況目安");
    setFont(render::JapaneseFont(9));
    setFixedSize(TwipsToPixels(4200), TwipsToPixels(1500));

    gauge_ = NamedLabel(this, n::kGauge, QString(), TwipsRect(120, 180, 3960, 360));
    gauge_->setFrameShape(QFrame::Panel);
    gauge_->setFrameShadow(QFrame::Sunken);
    SetBackground(gauge_, Qt::white);
    SetTextColour(gauge_, QColor(0, 0, 192));

    stopButton_ = Button(this, n::kStopButton, "中 止", TwipsRect(1500, 780, 1200, 450));
    connect(stopButton_, &QPushButton::clicked, this, &GaugeWindow::stopPressed);

    timer_.setObjectName(n::kTimer);
    timer_.setInterval(1300);
    connect(&timer_, &QTimer::timeout, this, &GaugeWindow::UpdateGauge);
}

void GaugeWindow::ClearGauge() {
    gauge_->clear();
}

void GaugeWindow::StartGauge() {
    show();
    raise();
    timer_.start();
}

void GaugeWindow::StopGauge() {
    timer_.stop();
    hide();
}

QString GaugeWindow::gaugeText() const {
    return gauge_->text();
}

void GaugeWindow::UpdateGauge() {
    const int length =
        core::GaugeLength(workspace_.results.partitionCounter, workspace_.data.progressTotal);
    gauge_->setText(QString(length, QChar('*')));
}

void GaugeWindow::closeEvent(QCloseEvent* event) {
    // The gauge goes away with the run it belongs to, or by its stop button.
    event->ignore();
}

}  // namespace kx::ui
