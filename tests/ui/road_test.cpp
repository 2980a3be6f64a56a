// The whole road inside the program: a drawn graph is pasted, calibrated and
// captured into two lines, the DataSet window prepares it and opens the
// program-generation window, and the run there gives what the core gives.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "core/codegen/calc_program.h"
#include "ui/canvas.h"
#include "ui/data_set_window.h"
#include "ui/digitizer_panel.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"
#include "ui/program_window.h"
#include "ui/window_links.h"
#include "ui_test_support.h"

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

QStringList Items(const QWidget& window, const char* name) {
    QStringList items;
    const auto* list = window.findChild<QListWidget*>(name);
    EXPECT_NE(list, nullptr) << name;
    if (list == nullptr) return items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

QStringList ToQ(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out;
}

void Calibrate(Digitizer& d) {
    const QImage graph =
        DrawGraph(QSize(800, 600), QPoint(kOriginX, kOriginY), 600, 400,
                  {[](int px) { return kOriginY - 10 * Rising((px - kOriginX) / 10.0, 40); },
                   [](int px) { return kOriginY - 10 * Rising((px - kOriginX) / 10.0, 25); }});
    d.PastePicture(graph);
    d.PlacePoint(1, QPoint(kOriginX, kOriginY));
    d.TypeInto("Text3", "0");
    d.TypeInto("Text5", "0");
    d.PlacePoint(2, QPoint(700, kOriginY));
    d.TypeInto("Text4", "60");
    d.PlacePoint(4, QPoint(kOriginX, 100));
    d.TypeInto("Text6", "40");
    ASSERT_EQ(d.workspace.calibration.calibrationConfirmed, 1);
}

void CaptureLine(Digitizer& d, int optionIndex, double p, const char* parameter) {
    d.Click(d.dataSetControl<QAbstractButton>(QString("Option1(%1)").arg(optionIndex)));
    for (int px = 110; px <= 690; px += 40) {
        const double x = (px - kOriginX) / 10.0;
        d.ClickCanvasPixel(QPoint(px, PixelY(x, p)));
    }
    d.Type(d.dataSetControl<QLineEdit>("Text2"), parameter);
}

TEST(ProgramRoad, PictureToProgramAndBack) {
    Digitizer d;
    ui::WindowLinks links(d.workspace, *d.main, *d.panel);
    Calibrate(d);
    d.ClickPanel("Command5");
    CaptureLine(d, 0, 40, "40");
    CaptureLine(d, 1, 25, "25");
    d.Click(d.dataSetControl<QAbstractButton>("Option1(0)"));
    ASSERT_EQ(d.workspace.data.pointCount[1], 15);
    ASSERT_EQ(d.workspace.data.pointCount[2], 15);

    ui::DataSetWindow& dataSet = d.dataSet();
    ui::ProgramWindow& program = links.programWindow();
    d.Click(d.dataSetControl<QAbstractButton>("Command6"));
    ASSERT_TRUE(program.isVisible()) << dataSet.messageText().toStdString();
    EXPECT_EQ(program.opener(), &dataSet);
    EXPECT_FALSE(dataSet.isEnabled());
    EXPECT_FALSE(d.main->isEnabled());
    ASSERT_EQ(d.workspace.data.lineCount, 2);

    // The same prepared data through the core alone.
    core::DataSet data = d.workspace.data;
    core::FitResults expected;
    ASSERT_TRUE(core::FitAndGenerate(data, d.workspace.settings, expected));

    QTest::mouseClick(program.findChild<QAbstractButton*>("Command1"), Qt::LeftButton);
    ASSERT_FALSE(program.running());
    EXPECT_FALSE(expected.program.empty());
    EXPECT_EQ(Items(program, "List4"), ToQ(expected.program));
    EXPECT_EQ(Items(program, "List3"), ToQ(expected.summary));
    EXPECT_EQ(Items(program, "List1"), ToQ(expected.fittingLog));
    // Ranks by parameter: the 25 line comes first.
    EXPECT_EQ(d.workspace.data.lineOrder[1], 2);

    // "戻 る" gives the DataSet window and the canvas back.
    QTest::mouseClick(program.findChild<QAbstractButton*>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(program.isVisible());
    EXPECT_TRUE(dataSet.isVisible());
    EXPECT_TRUE(dataSet.isEnabled());
    EXPECT_TRUE(d.main->isEnabled());
    // Capture goes on where it stopped.
    d.ClickCanvasPixel(QPoint(695, PixelY(59.5, 40)));
    EXPECT_EQ(d.workspace.data.pointCount[1], 16);
}

TEST(ProgramRoad, KeyboardEntryFromThePanelAndBack) {
    Digitizer d;
    ui::WindowLinks links(d.workspace, *d.main, *d.panel);
    ui::KeyboardWindow& keyboard = links.keyboardWindow();
    ASSERT_FALSE(keyboard.isVisible());
    auto* entry = d.panel->findChild<QAction*>("HENKOU1");
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    EXPECT_TRUE(keyboard.isVisible());
    EXPECT_FALSE(d.panel->isEnabled());
    QTest::mouseClick(keyboard.findChild<QAbstractButton*>("Command4"), Qt::LeftButton);
    EXPECT_FALSE(keyboard.isVisible());
    EXPECT_TRUE(d.panel->isVisible());
    EXPECT_TRUE(d.panel->isEnabled());
    EXPECT_TRUE(d.main->isVisible());
    EXPECT_TRUE(d.main->isEnabled());
    EXPECT_EQ(d.canvas().cursor().shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace kx::test
