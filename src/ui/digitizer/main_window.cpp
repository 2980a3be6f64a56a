#include "ui/digitizer/main_window.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

#include "ui/digitizer/canvas.h"
#include "ui/digitizer/canvas_view.h"
#include "ui/digitizer/digitizer_names.h"
#include "ui/window/pointers.h"

namespace kx::ui {
namespace {

constexpr QSize kFirstSize(800, 600);

}  // namespace

MainWindow::MainWindow() {
    setObjectName(names::main_window::kWindow);
    setWindowTitle("Kuvatelix");

    auto* client = new QWidget(this);
    client->setObjectName("MDIClient");
    layout_ = new QBoxLayout(QBoxLayout::TopToBottom, client);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);

    area_ = new QScrollArea(client);
    area_->setObjectName(names::main_window::kCanvasArea);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area_->setBackgroundRole(QPalette::Dark);
    canvas_ = new Canvas;
    area_->setWidget(canvas_);
    area_->setWidgetResizable(false);
    view_ = new CanvasView(*canvas_, *area_);
    connect(view_, &CanvasView::zoomed, this, &MainWindow::LayOutCanvas);
    layout_->addWidget(area_, 1);
    layout_->addStretch(0);
    setCentralWidget(client);
    resize(kFirstSize);
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

void MainWindow::FitToPicture(int roomRight) {
    if (isMaximized() || isFullScreen()) return;
    const int areaFrame = 2 * area_->frameWidth();
    // What the window adds around its client area: the frame of the window
    // system and the menu bar or status bar if there are any.
    const QSize outside = frameGeometry().size() - centralWidget()->size();
    const QSize wanted = canvas_->sizeHint() + QSize(areaFrame, areaFrame) + outside;
    const QRect screen = this->screen()->availableGeometry();
    QPoint at = frameGeometry().topLeft();
    // Where the picture would not show whole beside the panel, the window
    // and the panel move left and up together as far as the screen allows.
    const int left = screen.right() + 1 - roomRight - std::max(wanted.width(), kFirstSize.width());
    const int top = screen.bottom() + 1 - std::max(wanted.height(), kFirstSize.height());
    const QPoint moved(std::max(screen.left(), std::min(at.x(), left)),
                       std::max(screen.top(), std::min(at.y(), top)));
    if (moved != at) {
        move(moved);
        at = moved;
    }
    const int widest = screen.right() + 1 - std::max(at.x(), screen.left()) - roomRight;
    const int tallest = screen.bottom() + 1 - std::max(at.y(), screen.top());
    // Never smaller than the first size, never beyond the screen.
    const QSize outer(
        std::min(std::max(wanted.width(), kFirstSize.width()), std::max(widest, 1)),
        std::min(std::max(wanted.height(), kFirstSize.height()), std::max(tallest, 1)));
    resize(outer - (frameGeometry().size() - size()));
    LayOutCanvas();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayOutCanvas();
    emit rightEdgeChanged(RightEdgeTop());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Disabled behind another window, it waits for that window: the work
    // there would be lost with the program.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    event->ignore();
    emit endByFrameRequested();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ActivationChange)
        emit canvasStateChanged();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    emit rightEdgeChanged(RightEdgeTop());
}

}  // namespace kx::ui
