// The whole road inside the program: a drawn graph is pasted, calibrated and
// captured into two lines, the DataSet window prepares it and opens the
// program-generation window, and the run there gives what the core gives.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "core/codegen/calc_program.h"
#include "ui/digitizer/canvas.h"
#include "ui_harness.h"

namespace kx::test {
namespace {

// Origin at pixel (100, 500), 10 pixels per unit: X 0..60, Y 0..40.
constexpr int kOriginX = 100, kOriginY = 500;
double Rising(double x, double p) {
    return p * (1 - std::exp(-x / 15));
}
int PixelY(double x, double p) {
    return static_cast<int>(std::lround(kOriginY - 10 * Rising(x, p)));
}

QImage Graph() {
    return DrawGraph(QSize(800, 600), QPoint(kOriginX, kOriginY), 600, 400,
                     {[](int px) { return kOriginY - 10 * Rising((px - kOriginX) / 10.0, 40); },
                      [](int px) { return kOriginY - 10 * Rising((px - kOriginX) / 10.0, 25); }});
}

void CaptureLine(Session& d, int optionIndex, double p, const char* parameter) {
    d.ClickDataSet(ArrayName(data_set::kLineOption, optionIndex));
    for (int px = 110; px <= 690; px += 40) {
        const double x = (px - kOriginX) / 10.0;
        d.ClickCanvasPixel(QPoint(px, PixelY(x, p)));
    }
    d.Type(d.dataSetControl<QLineEdit>(data_set::kParameterBox), parameter);
}

TEST(ProgramRoad, PictureToProgramAndBack) {
    Session d;
    d.Calibrate(Graph());
    d.ClickPanel(panel::kCaptureButton);
    CaptureLine(d, 0, 40, "40");
    CaptureLine(d, 1, 25, "25");
    d.ClickDataSet(ArrayName(data_set::kLineOption, 0));
    ASSERT_EQ(d.workspace.data.pointCount[1], 15);
    ASSERT_EQ(d.workspace.data.pointCount[2], 15);

    ui::DataSetWindow& dataSet = d.dataSet();
    ui::ProgramWindow& window = d.program();
    d.ClickDataSet(data_set::kGenerateButton);
    ASSERT_TRUE(window.isVisible()) << dataSet.messageText().toStdString();
    EXPECT_EQ(window.opener(), &dataSet);
    EXPECT_FALSE(dataSet.isEnabled());
    EXPECT_FALSE(d.main().isEnabled());
    ASSERT_EQ(d.workspace.data.lineCount, 2);

    // The same prepared data through the core alone.
    core::DataSet data = d.workspace.data;
    core::FitResults expected;
    ASSERT_TRUE(core::FitAndGenerate(data, d.workspace.settings, expected));

    Click(window, pn::kCalculateButton);
    ASSERT_FALSE(window.running());
    EXPECT_FALSE(expected.program.empty());
    EXPECT_EQ(Items(window, pn::kList[4]), ToQ(expected.program));
    EXPECT_EQ(Items(window, pn::kList[3]), ToQ(expected.summary));
    EXPECT_EQ(Items(window, pn::kList[1]), ToQ(expected.fittingLog.Texts()));
    // Ranks by parameter: the 25 line comes first.
    EXPECT_EQ(d.workspace.data.lineOrder[1], 2);

    // "戻 る" gives the DataSet window and the canvas back.
    Click(window, pn::kBackButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dataSet.isVisible());
    EXPECT_TRUE(dataSet.isEnabled());
    EXPECT_TRUE(d.main().isEnabled());
    // Capture goes on where it stopped.
    d.ClickCanvasPixel(QPoint(695, PixelY(59.5, 40)));
    EXPECT_EQ(d.workspace.data.pointCount[1], 16);
}

TEST(ProgramRoad, KeyboardEntryFromThePanelAndBack) {
    Session d;
    ui::KeyboardWindow& keyboard = d.keyboard();
    ASSERT_FALSE(keyboard.isVisible());
    auto* entry = Find<QAction>(d.panel(), panel::kKeyboardEntry);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    EXPECT_TRUE(keyboard.isVisible());
    EXPECT_FALSE(d.panel().isEnabled());
    Click(keyboard, kn::kBackButton);
    EXPECT_FALSE(keyboard.isVisible());
    EXPECT_TRUE(d.panel().isVisible());
    EXPECT_TRUE(d.panel().isEnabled());
    EXPECT_TRUE(d.main().isVisible());
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_EQ(d.canvas().cursor().shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace kx::test
