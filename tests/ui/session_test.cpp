// An ordinary session of the desktop program, started and ended as main()
// does: a picture pasted, calibrated, two lines captured, the program
// generated, and "終了". This program holds only this session, so that the
// leak check of a sanitizer build at its exit looks at nothing else.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

#include "ui_harness.h"

namespace kx::test {
namespace {

constexpr int kOriginX = 100, kOriginY = 500;
double Curve(double x, double p) {
    return p * (1 - std::exp(-x / 15));
}

TEST(DesktopSession, OrdinarySessionEndsWithExitZero) {
    Session d;
    d.Calibrate(
        DrawGraph(QSize(800, 600), QPoint(kOriginX, kOriginY), 600, 400,
                  {[](int px) { return kOriginY - 10 * Curve((px - kOriginX) / 10.0, 30); },
                   [](int px) { return kOriginY - 10 * Curve((px - kOriginX) / 10.0, 20); }}));
    d.ClickPanel(panel::kCaptureButton);
    for (int line = 0; line < 2; ++line) {
        d.ClickDataSet(ArrayName(data_set::kLineOption, line));
        for (int px = 120; px <= 680; px += 40) {
            const double p = line == 0 ? 30 : 20;
            d.ClickCanvasPixel(QPoint(px, static_cast<int>(std::lround(
                                              kOriginY - 10 * Curve((px - kOriginX) / 10.0, p)))));
        }
        d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), line == 0 ? "30" : "20");
    }
    d.ClickDataSet(data_set::kGenerateButton);
    ASSERT_TRUE(d.program().isVisible()) << d.dataSet().messageText().toStdString();
    Click(d.program(), pn::kCalculateButton);
    EXPECT_GT(Items(d.program(), pn::kList[4]).size(), 0);
    Click(d.program(), pn::kBackButton);
    d.ClickDataSet(data_set::kBackButton);

    // "終了" ends the event loop at once, with the program's exit status.
    QTimer::singleShot(0, [&] { d.ClickPanel(panel::kEndButton); });
    QTimer safetyNet;
    QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    safetyNet.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace kx::test
