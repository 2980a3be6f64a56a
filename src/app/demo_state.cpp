#include "app/demo_state.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

#include "ui/canvas.h"
#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/japanese_font.h"
#include "ui/main_window.h"

namespace kx::app {
namespace {

// A sample characteristic: three curves of a family on a 0..60 by 0..40 grid,
// origin at pixel (80, 440), 10 pixels per unit.
constexpr int kOriginX = 80, kOriginY = 440;

double Curve(int k, double x) {
    return (12 + 10 * k) * (1 - std::exp(-x / (8 + 6 * k)));
}

QImage SampleGraph() {
    QImage picture(QSize(720, 520), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 200, 200), 1));
    for (int i = 1; i <= 6; ++i)
        painter.drawLine(kOriginX + 100 * i, kOriginY, kOriginX + 100 * i, kOriginY - 400);
    for (int i = 1; i <= 4; ++i)
        painter.drawLine(kOriginX, kOriginY - 100 * i, kOriginX + 600, kOriginY - 100 * i);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(kOriginX, kOriginY, kOriginX + 600, kOriginY);
    painter.drawLine(kOriginX, kOriginY, kOriginX, kOriginY - 400);
    painter.setFont(ui::JapaneseFont(10));
    for (int i = 0; i <= 6; ++i) {
        painter.drawText(QRect(kOriginX + 100 * i - 20, kOriginY + 6, 40, 20), Qt::AlignCenter,
                         QString::number(10 * i));
    }
    for (int i = 0; i <= 4; ++i) {
        painter.drawText(QRect(kOriginX - 48, kOriginY - 100 * i - 10, 40, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(10 * i));
    }
    painter.drawText(QRect(kOriginX, kOriginY + 30, 600, 24), Qt::AlignCenter, "回転数 X");
    painter.drawText(QRect(kOriginX + 10, 10, 300, 24), Qt::AlignLeft, "トルク特性 Y");
    for (int k = 0; k < 3; ++k) {
        painter.setPen(QPen(QColor(0, 0, 160), 2));
        QPointF last(kOriginX, kOriginY);
        for (int px = kOriginX + 1; px <= kOriginX + 600; ++px) {
            const QPointF next(px, kOriginY - 10 * Curve(k, (px - kOriginX) / 10.0));
            painter.drawLine(last, next);
            last = next;
        }
        painter.drawText(QPointF(kOriginX + 560, last.y() - 6),
                         QStringLiteral("T=%1").arg(20 + 20 * k));
    }
    return picture;
}

void Press(ui::Canvas& canvas, QPoint pixel) {
    const QPointF at(pixel);
    QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
    QMouseEvent press(QEvent::MouseButtonPress, at, canvas.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, canvas.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &release);
}

template <typename T>
T* Find(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

void Place(ui::DigitizerPanel& panel, ui::Canvas& canvas, const char* box, QPoint pixel) {
    Find<QAbstractButton>(panel, box)->click();
    Press(canvas, pixel);
}

void Run(const QByteArray& mode, ui::Workspace& workspace, ui::MainWindow& mainWindow,
         ui::DigitizerPanel& panel) {
    (void)workspace;
    if (mode == "help") {
        panel.findChild<QAction*>("HELP01")->trigger();
        return;
    }
    QApplication::clipboard()->setImage(SampleGraph());
    panel.PastePicture();
    if (mode == "panel") return;
    ui::Canvas& canvas = mainWindow.canvas();
    Place(panel, canvas, "Check1", QPoint(kOriginX, kOriginY));
    if (mode == "error") {
        Place(panel, canvas, "Check2", QPoint(kOriginX - 30, kOriginY));
        return;
    }
    Find<QLineEdit>(panel, "Text3")->setText("0");
    Find<QLineEdit>(panel, "Text5")->setText("0");
    Place(panel, canvas, "Check2", QPoint(kOriginX + 600, kOriginY));
    Find<QLineEdit>(panel, "Text4")->setText("60");
    Place(panel, canvas, "Check4", QPoint(kOriginX, kOriginY - 400));
    Find<QLineEdit>(panel, "Text6")->setText("40");
    Press(canvas, QPoint(kOriginX + 250, kOriginY - 230));
    panel.onLiveTick();
    panel.onLiveTick();
    if (mode == "marks") return;
    Find<QAbstractButton>(panel, "Command5")->click();
    ui::DataSetWindow& dataSet = panel.dataSetWindow();
    for (int k = 0; k < 2; ++k) {
        if (k == 1) Find<QAbstractButton>(dataSet, "Option1(1)")->click();
        for (int px = kOriginX + 20; px <= kOriginX + 600; px += 45) {
            Press(canvas, QPoint(px, static_cast<int>(std::lround(
                                         kOriginY - 10 * Curve(k, (px - kOriginX) / 10.0)))));
        }
    }
    panel.onLiveTick();
    panel.onLiveTick();
    if (mode == "message") {
        // A third line with only two points cannot be prepared.
        Find<QAbstractButton>(dataSet, "Option1(2)")->click();
        Press(canvas, QPoint(kOriginX + 300, kOriginY - 50));
        Press(canvas, QPoint(kOriginX + 400, kOriginY - 60));
        Find<QAbstractButton>(dataSet, "Command6")->click();
    }
}

}  // namespace

void ApplyDemoState(ui::Workspace& workspace, ui::MainWindow& mainWindow,
                    ui::DigitizerPanel& panel) {
    const QByteArray mode = qgetenv("KX_DEMO");
    if (mode.isEmpty()) return;
    QTimer::singleShot(300, &panel, [mode, &workspace, &mainWindow, &panel] {
        Run(mode, workspace, mainWindow, panel);
    });
}

}  // namespace kx::app
