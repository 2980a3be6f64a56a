// The painter and the plot files, in a program without widgets and without a
// display, as the command line draws them.
#include <sys/resource.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>

#include "core/plot/plot_contents.h"
#include "plot_fixture.h"
#include "render/plot_export.h"
#include "render/plot_gui.h"
#include "render/plot_painter.h"
#include "temp_folder.h"

namespace kx::render {
namespace {

using test::StraightFamily;
using test::TempFolder;

// The application as the command line makes it, in an environment that names
// another platform, no display and a locale of its own.
class HeadlessEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("LC_ALL", "C.UTF-8", 1);
        gui_ = std::make_unique<PlotGui>("kx_plot_export_tests");
    }
    void TearDown() override { gui_.reset(); }

private:
    std::unique_ptr<PlotGui> gui_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);

TEST(PlotGui, RunsOffscreenAndLeavesTheLocaleAlone) {
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
}

// One pass of the family onto a picture; the labels too when asked.
core::PlotPass DrawOn(QImage& image, StraightFamily& family, bool fitCurrent,
                      bool labels = false) {
    QPainter painter(&image);
    PainterSurface surface = ImageSurface(painter, image);
    const core::PlotPass pass =
        core::DrawAnalysisPlot(family.data, family.results, fitCurrent, {}, false, surface);
    if (labels) core::DrawParameterLabels(family.data, pass.frame, surface);
    return pass;
}

QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);  // the pass must clear it
    return image;
}

TEST(PainterSurface, MarksAndCurvesLandOnTheirPixels) {
    StraightFamily family;
    // An uneven picture: x and y are scaled differently.
    QImage marks = Picture(900, 640);
    const core::PlotPass pass = DrawOn(marks, family, false);
    ASSERT_EQ(pass.frame.xMin, 0.0f);
    ASSERT_EQ(pass.frame.xMax, 10.0f);
    ASSERT_EQ(pass.frame.yMin, 0.0f);
    ASSERT_EQ(pass.frame.yMax, 20.0f);
    EXPECT_EQ(marks.pixel(2, 2), QColor(Qt::white).rgb());
    EXPECT_GT(test::CountPixels(marks, test::IsBlue), 0) << "the axes";

    // A mark is a small black ring round its point: black within a pixel of
    // its radius, nothing of it a few pixels further.
    for (const auto& [x, y] : {std::pair{5.0, 11.0}, std::pair{3.0, 3.5}, std::pair{0.37, 1.74}}) {
        const QPointF at = test::PixelOf(pass, marks.size(), x, y);
        EXPECT_TRUE(test::AnyPixelNear(marks, at, 3.0, test::IsBlack)) << x << "," << y;
        for (const QPointF off : {QPointF(7, 0), QPointF(-7, 0), QPointF(0, 7), QPointF(0, -7)}) {
            EXPECT_FALSE(test::AnyPixelNear(marks, at + off, 1.5, test::IsBlack))
                << x << "," << y << " off " << off.x() << "," << off.y();
        }
    }

    // The curves: blue within a pixel of the line between the marks, and not
    // a few pixels above or below it.
    QImage curves = Picture(900, 640);
    DrawOn(curves, family, true);
    for (int line = 1; line <= 2; ++line) {
        for (const double x : {1.5, 4.5, 6.25, 7.5}) {
            const QPointF at = test::PixelOf(pass, curves.size(), x, StraightFamily::Y(line, x));
            EXPECT_TRUE(test::AnyPixelNear(curves, at, 1.0, test::IsBlue)) << line << " " << x;
            EXPECT_FALSE(test::AnyPixelNear(marks, at, 1.0, test::IsBlue))
                << "no curves without current fit results";
            EXPECT_FALSE(test::AnyPixelNear(curves, at + QPointF(0, -5), 1.0, test::IsBlue));
            EXPECT_FALSE(test::AnyPixelNear(curves, at + QPointF(0, 5), 1.0, test::IsBlue));
        }
    }
}

TEST(PainterSurface, KeepsThePointSizeOfItsFontsWhateverTheScale) {
    // Twice the pixels for the same drawing window: a text is as many pixels
    // wide as before, so half as many drawing units.
    QImage small = Picture(750, 790);
    QImage large = Picture(1500, 1580);
    QPainter smallPainter(&small);
    QPainter largePainter(&large);
    PainterSurface a = ImageSurface(smallPainter, small);
    PainterSurface b = ImageSurface(largePainter, large);
    const core::DrawingWindow layout = core::PlotDrawingWindow(false, {});
    a.setDrawingWindow(layout);
    b.setDrawingWindow(layout);
    for (const core::TextRole role : {core::TextRole::kTickLabel, core::TextRole::kAxisName}) {
        const core::TextSize onSmall = a.measureText("1.235E+04", role);
        const core::TextSize onLarge = b.measureText("1.235E+04", role);
        EXPECT_GT(onSmall.width, 0.0);
        EXPECT_NEAR(onLarge.width, onSmall.width / 2, 0.01 * onSmall.width);
        EXPECT_NEAR(onLarge.height, onSmall.height / 2, 0.01 * onSmall.height);
    }
    // A 12-point name is taller than a 9-point label.
    EXPECT_GT(a.measureText("X", core::TextRole::kAxisName).height,
              a.measureText("X", core::TextRole::kTickLabel).height);
}

TEST(PlotFile, PdfIsAPrintedPageWithItsLabelsAsText) {
    StraightFamily family;
    TempFolder folder;
    const std::string path = folder.file("plot.PDF");
    const PlotFileResult result =
        ExportAnalysisPlot(path, family.data, family.results, {{}, true, true});
    ASSERT_TRUE(result.ok()) << static_cast<int>(result.status);
    EXPECT_EQ(test::FileBytes(path).substr(0, 5), "%PDF-");
    const QStringList words = test::PdfWords(path);
    for (const char* label : {".0", "2.", "4.", "6.", "8.", "10.", "5.", "15.", "20.", "X", "Y",
                              "解析グラフのプロット", "10", "20"}) {
        EXPECT_TRUE(words.contains(QString::fromUtf8(label)))
            << label << " in " << words.join(' ').toStdString();
    }
}

// The texts of the <text> elements of an SVG file (a text of several scripts
// comes in several elements), its lines, and whether it holds a picture
// element (a rasterised plot would).
struct SvgContents {
    QStringList texts;
    int lines = 0;
    bool image = false;
};

SvgContents ReadSvg(const std::string& path) {
    QFile file(QString::fromStdString(path));
    SvgContents svg;
    if (!file.open(QIODevice::ReadOnly)) return svg;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        if (reader.name() == QLatin1String("text")) {
            svg.texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (reader.name() == QLatin1String("image")) {
            svg.image = true;
        } else if (reader.name() == QLatin1String("path") ||
                   reader.name() == QLatin1String("polyline")) {
            ++svg.lines;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return svg;
}

TEST(PlotFile, SvgKeepsTextsAndLinesAndPngIsThePictureAtTwiceTheScreen) {
    StraightFamily family;
    TempFolder folder;
    ASSERT_TRUE(
        ExportAnalysisPlot(folder.file("plot.svg"), family.data, family.results, {{}, true, true})
            .ok());
    const SvgContents svg = ReadSvg(folder.file("plot.svg"));
    EXPECT_FALSE(svg.image);
    EXPECT_GT(svg.lines, 20);
    for (const char* text : {".0", "2.", "10.", "20.", "X", "Y", "10"}) {
        EXPECT_TRUE(svg.texts.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(svg.texts.join("").contains(QString::fromUtf8("解析グラフのプロット")));

    ASSERT_TRUE(ExportAnalysisPlot(folder.file("plot.png"), family.data, family.results, {}).ok());
    const QImage png(QString::fromStdString(folder.file("plot.png")));
    ASSERT_EQ(png.size(), QSize(1500, 1580));
    EXPECT_GT(test::CountPixels(png, test::IsBlue), 0);
    EXPECT_EQ(test::CountPixels(png, test::IsRed), 0) << "no labels asked for";
    // The plot layout at 2 pixels per drawing unit: the lower-left corner of
    // the axes box is at (200, 1360).
    EXPECT_TRUE(test::AnyPixelNear(png, QPointF(200 + 2 * 300, 1360), 1.5, test::IsBlue));
    EXPECT_TRUE(test::AnyPixelNear(png, QPointF(200, 1360 - 2 * 300), 1.5, test::IsBlue));
}

TEST(PlotFile, FailuresAreValuesAndLeaveNothingHalfWritten) {
    StraightFamily family;
    TempFolder folder;
    const auto exportTo = [&](const std::string& path) {
        return ExportAnalysisPlot(path, family.data, family.results, {});
    };
    EXPECT_EQ(exportTo(folder.file("plot.txt")).status, PlotFileStatus::kUnknownFormat);
    EXPECT_EQ(exportTo(folder.file("pdf")).status, PlotFileStatus::kUnknownFormat);
    const PlotFileResult missing = exportTo(folder.file("no/such/plot.svg"));
    EXPECT_EQ(missing.status, PlotFileStatus::kCannotWrite);
    EXPECT_EQ(missing.file.reason, core::FileReason::kNotFound);

    // A disk that fills up (a file-size limit, whatever the user's rights):
    // the earlier file stays as it was, nothing beside it.
    const std::string path = folder.file("plot.pdf");
    test::PutFile(path, "earlier");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    const PlotFileResult full = exportTo(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(full.status, PlotFileStatus::kCannotWrite);
    EXPECT_EQ(full.file.reason, core::FileReason::kFileSizeLimit);
    EXPECT_EQ(test::FileBytes(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(PlotFile, FamilyPlotTakesZeroForTheDataAndRefusesAsTheWindowDoes) {
    StraightFamily family;
    TempFolder folder;
    const auto write = [&](const char* name, core::PlotSettings settings) {
        return WriteFamilyPlot(folder.file(name), family.data, family.results, settings, false)
            .status;
    };
    EXPECT_EQ(write("default.svg", {"0", "0", false, false}), PlotFileStatus::kWritten);
    EXPECT_EQ(write("log.svg", {"0", "", true, true}), PlotFileStatus::kWritten)
        << "the data's X minimum 0.37 is above 0";
    EXPECT_EQ(write("range.svg", {"2", "0", false, false}), PlotFileStatus::kWritten);
    EXPECT_EQ(write("equal.svg", {"5", "5", false, false}), PlotFileStatus::kRefused);
    EXPECT_EQ(write("inverted.svg", {"9", "3", false, false}), PlotFileStatus::kRefused);
    EXPECT_EQ(write("past.svg", {"9", "0", false, false}), PlotFileStatus::kRefused)
        << "Xmin 9 above the data's X maximum 8.2";
    EXPECT_EQ(write("negative.svg", {"-1", "0", true, false}), PlotFileStatus::kRefused);
    EXPECT_EQ(write("name.txt", {"5", "5", false, false}), PlotFileStatus::kUnknownFormat);
    for (const char* refused :
         {"equal.svg", "inverted.svg", "past.svg", "negative.svg", "name.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(folder.file(refused))) << refused;
    }
    // The limits given draw the axis from them.
    const SvgContents range = ReadSvg(folder.file("range.svg"));
    EXPECT_TRUE(range.texts.contains("2.")) << range.texts.join(' ').toStdString();
    EXPECT_EQ(range.texts.count(".0"), 1) << "only the Y axis starts at 0";
    EXPECT_EQ(ReadSvg(folder.file("default.svg")).texts.count(".0"), 2);
}

}  // namespace
}  // namespace kx::render
