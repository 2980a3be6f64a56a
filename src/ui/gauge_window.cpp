#include "ui/gauge_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "core/fitting/fit_family.h"
#include "ui/control_names.h"
#include "ui/japanese_font.h"
#include "ui/twips.h"

namespace kx::ui {

GaugeWindow::GaugeWindow(const Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      workspace_(workspace),
      label1_(new QLabel(this)),
      command1_(new QPushButton("中 止", this)) {
    setObjectName("GrForm35");
    setWindowTitle("計算状況目安");
    setFont(JapaneseFont(9));
    setFixedSize(TwipsToPixels(4200), TwipsToPixels(1500));

    label1_->setObjectName("Label1");
    label1_->setGeometry(TwipsRect(120, 180, 3960, 360));
    label1_->setFrameShape(QFrame::Panel);
    label1_->setFrameShadow(QFrame::Sunken);
    label1_->setStyleSheet("QLabel { background: white; color: rgb(0, 0, 192); }");

    command1_->setObjectName("Command1");
    command1_->setGeometry(TwipsRect(1500, 780, 1200, 450));
    connect(command1_, &QPushButton::clicked, this, &GaugeWindow::stopPressed);

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(1300);
    connect(&timer1_, &QTimer::timeout, this, &GaugeWindow::timer1Tick);
}

void GaugeWindow::clearGauge() {
    label1_->clear();
}

void GaugeWindow::startGauge() {
    show();
    raise();
    timer1_.start();
}

void GaugeWindow::stopGauge() {
    timer1_.stop();
    hide();
}

QString GaugeWindow::gaugeText() const {
    return label1_->text();
}

void GaugeWindow::timer1Tick() {
    const int length =
        core::GaugeLength(workspace_.results.partitionCounter, workspace_.data.progressTotal);
    label1_->setText(QString(length, QChar('*')));
}

void GaugeWindow::closeEvent(QCloseEvent* event) {
    // The gauge goes away with the run it belongs to, or by its stop button.
    event->ignore();
}

}  // namespace kx::ui
