#include "ui/main_window.h"

#include <QBoxLayout>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>

#include "ui/canvas.h"
#include "ui/pointers.h"

namespace kx::ui {

MainWindow::MainWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace) {
    setObjectName("MDIForm20");
    setWindowTitle("Kuvatelix");

    auto* client = new QWidget(this);
    client->setObjectName("MDIClient");
    layout_ = new QBoxLayout(QBoxLayout::TopToBottom, client);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);

    area_ = new QScrollArea(client);
    area_->setObjectName("CanvasArea");
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area_->setBackgroundRole(QPalette::Dark);
    canvas_ = new Canvas;
    area_->setWidget(canvas_);
    area_->setWidgetResizable(false);
    layout_->addWidget(area_, 1);
    layout_->addStretch(0);
    setCentralWidget(client);
    resize(800, 600);
}

QPoint MainWindow::RightEdgeTop() const {
    const QRect frame = frameGeometry();
    return QPoint(frame.left() + frame.width(), frame.top());
}

void MainWindow::SwitchDocking() {
    dockedAtTop_ = !dockedAtTop_;
    LayOutCanvas();
}

void MainWindow::LayOutCanvas() {
    // Docked at the top the canvas spans the width and is as tall as its
    // picture; docked at the left it spans the height and is as wide.
    const QSize picture = canvas_->sizeHint();
    const int frame = 2 * area_->frameWidth();
    if (dockedAtTop_) {
        layout_->setDirection(QBoxLayout::TopToBottom);
        area_->setMaximumSize(
            QWIDGETSIZE_MAX,
            picture.height() + frame + area_->horizontalScrollBar()->sizeHint().height());
    } else {
        layout_->setDirection(QBoxLayout::LeftToRight);
        area_->setMaximumSize(
            picture.width() + frame + area_->verticalScrollBar()->sizeHint().width(),
            QWIDGETSIZE_MAX);
    }
    canvas_->update();
    setCursor(CrossPointer());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayOutCanvas();
    emit rightEdgeChanged(RightEdgeTop());
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    emit rightEdgeChanged(RightEdgeTop());
}

}  // namespace kx::ui
