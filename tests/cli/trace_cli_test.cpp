#include <sys/stat.h>

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/data_file.h"
#include "core/files/session.h"
#include "run_fit.h"
#include "trace_charts.h"

// kuvatelix-trace on a chart the test draws and saves: the data file it
// writes is read back by the reader and fitted by kuvatelix-fit; a seed on no
// curve or an unreadable picture writes nothing.
namespace kx {
namespace {

class TraceCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "kx_trace_cli_tests";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    }

    // The chart's frame corners as the calibration, in picture pixels.
    std::vector<std::string> Calibration(const test::TestChart& chart) const {
        const test::ChartSpec& s = chart.spec();
        const core::PicturePoint origin = chart.PixelOf(s.xMin, s.yMin);
        const core::PicturePoint end = chart.PixelOf(s.xMax, s.yMax);
        return {"--x", Numbers({origin.x, end.x, s.xMin, s.xMax}), "--y",
                Numbers({origin.y, end.y, s.yMin, s.yMax})};
    }
    static std::string Numbers(const std::vector<double>& values) {
        std::string text;
        for (double v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
        return text;
    }
    std::string Seed(const test::TestChart& chart, int curve, double x,
                     const std::string& parameter) const {
        const core::PicturePoint p = chart.OnCurve(curve, x);
        return Numbers({p.x, p.y}) + "," + parameter;
    }
    test::Ran Trace(const std::vector<std::string>& arguments) const {
        return test::RunProgram(KX_TRACE_PROGRAM, folder_, arguments);
    }

    test::TempFolder folder_;
};

TEST_F(TraceCli, TracedCurvesAreADataFileTheFitReads) {
    const test::TraceCase c = test::MakeTraceCase("log axes jpeg 65");
    const std::string picture = folder_.file("chart.jpg");
    ASSERT_TRUE(c.picture.save(QString::fromStdString(picture), "JPEG", 90));
    std::vector<std::string> arguments{picture, "--log-x", "--log-y", "--points", "30"};
    for (const std::string& a : Calibration(c.chart)) arguments.push_back(a);
    arguments.insert(arguments.end(), {"--curve", Seed(c.chart, 1, 1.0, "2"), "--curve",
                                       Seed(c.chart, 0, 1.0, "1"), "--out", "traced.dat"});
    const test::Ran run = Trace(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());

    const core::DataFileRead read = core::ReadDataFile(folder_.file("traced.dat"));
    ASSERT_EQ(read.outcome, core::DataFileOutcome::kLoaded);
    ASSERT_EQ(read.lines.size(), 2u);  // in the order given
    EXPECT_EQ(read.lines[0].parameterText, "2");
    EXPECT_EQ(read.lines[1].parameterText, "1");
    EXPECT_EQ(read.lines[0].pointCount, 30);
    EXPECT_EQ(read.lines[1].pointCount, 30);
    EXPECT_NE(read.lines[0].pointText.find("\r\n"), std::string::npos);
    const test::Ran checked = test::RunFit(folder_, {"--check", "traced.dat"});
    EXPECT_EQ(checked.status, 0) << checked.err;

    // With a session beside it: the picture's bytes, the calibration, the
    // traced lines, and points the fit takes as those of the data file.
    arguments.insert(arguments.end(), {"--session", "traced.kxs"});
    ASSERT_EQ(Trace(arguments).status, 0);
    const core::SessionRead session = core::ReadSession(folder_.file("traced.kxs"));
    ASSERT_TRUE(session.outcome.ok()) << session.outcome.detail;
    EXPECT_EQ(session.session.pictureName, "chart.jpg");
    EXPECT_EQ(session.session.pictureBytes, test::FileBytes(picture));
    EXPECT_TRUE(session.session.calibration.logX && session.session.calibration.logY);
    EXPECT_TRUE(session.session.calibration.calibrationConfirmed);
    ASSERT_EQ(session.session.traced.size(), 2u);
    EXPECT_EQ(session.session.traced[0].line, 1);
    EXPECT_EQ(session.session.traced[0].pointCount, 30);
    EXPECT_GT(session.session.traced[1].centre.size(), 30u);
    EXPECT_EQ(session.session.lines[1].marks.size(), 30u);
    for (const char* input : {"traced.dat", "traced.kxs"}) {
        const std::string out = std::string("fit_") + (input[7] == 'd' ? "dat" : "kxs");
        ASSERT_EQ(test::RunFit(folder_, {"--out", out, input}).status, 0) << input;
    }
    for (const char* listing : {"program.txt", "equations.txt", "results.txt", "history.txt"}) {
        EXPECT_EQ(test::FileBytes(folder_.file(std::string("fit_kxs/") + listing)),
                  test::FileBytes(folder_.file(std::string("fit_dat/") + listing)))
            << listing;
    }
    arguments.resize(arguments.size() - 2);

    // The same file on standard output.
    arguments.resize(arguments.size() - 2);
    const test::Ran printed = Trace(arguments);
    ASSERT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, test::FileBytes(folder_.file("traced.dat")));
    // A standard output that takes nothing is a failure, not a file cut short.
    const test::Ran full =
        test::RunProgram(KX_TRACE_PROGRAM, folder_, arguments, "", ">/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
}

TEST_F(TraceCli, RefusalsWriteNothing) {
    const test::TraceCase c = test::MakeTraceCase("colour png");
    const std::string picture = folder_.file("chart.png");
    ASSERT_TRUE(c.picture.save(QString::fromStdString(picture), "PNG"));
    test::PutFile(folder_.file("notapicture.png"), "no picture here");
    ASSERT_EQ(::mkfifo(folder_.file("pipe.png").c_str(), 0600), 0);  // never waited on
    const std::vector<std::string> cal = Calibration(c.chart);
    const auto with = [&cal](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), cal.begin(), cal.end());
        arguments.insert(arguments.end(), {"--out", "out.dat"});
        return arguments;
    };
    const core::PicturePoint paper = c.chart.PixelOf(8.5, 4.5);
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* names;  // in standard error
    };
    const Case cases[] = {
        {with({picture, "--curve", Seed(c.chart, 0, 5.0, "25"), "--curve",
               Numbers({paper.x, paper.y}) + ",75"}),
         1, "curve 2"},
        {with({folder_.file("notapicture.png"), "--curve", Seed(c.chart, 0, 5.0, "25")}), 1,
         "notapicture.png"},
        {with({folder_.file("pipe.png"), "--curve", Seed(c.chart, 0, 5.0, "25")}), 1, "pipe.png"},
        {with({picture, "--curve", Seed(c.chart, 0, 5.0, "hot")}), 2, "--curve"},
        {with({picture, "--curve", Seed(c.chart, 0, 5.0, "25"), "--points", "101"}), 2,
         "--points"},
        {{picture, "--curve", Seed(c.chart, 0, 5.0, "25")}, 2, "--x"},
    };
    for (const Case& k : cases) {
        const test::Ran run = Trace(k.arguments);
        EXPECT_EQ(run.status, k.status) << run.err;
        EXPECT_NE(run.err.find(k.names), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder_.file("out.dat")));
    }
    const test::Ran help = Trace({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

}  // namespace
}  // namespace kx
