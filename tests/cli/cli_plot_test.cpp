// kuvatelix-fit --plot: the analysis plot of the fitted family written into a
// PDF, SVG or PNG file without a display, and the plot options it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "run_fit.h"
#include "temp_folder.h"

namespace kx::test {
namespace {

#ifdef KX_WITH_PLOT

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(KuvatelixFitPlot, WritesTheFamilyPlotInEveryFormat) {
    TempFolder folder;
    // Without a display: the plot needs none.
    const std::string headless = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ";
    const Ran run =
        RunFit(folder, {"--plot", "family.PDF", "--out", "out", KX_SAMPLE_FILE}, headless);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(StartsWith(FileBytes(folder.file("family.PDF")), "%PDF-"));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/program.txt")));

    const Ran plainRun = RunFit(folder, {"--plot", "plain.svg", KX_SAMPLE_FILE});
    ASSERT_EQ(plainRun.status, 0) << plainRun.err;
    EXPECT_EQ(plainRun.out, "") << "the plot alone was asked for";
    ASSERT_EQ(RunFit(folder, {"--plot", "labelled.svg", "--para", KX_SAMPLE_FILE}).status, 0);
    const std::string plain = FileBytes(folder.file("plain.svg"));
    const std::string labelled = FileBytes(folder.file("labelled.svg"));
    EXPECT_NE(plain.find("<svg"), std::string::npos);
    // The parameter labels are texts of their own: "-25" and "125" appear
    // only with --para.
    for (const char* label : {">-25</text>", ">125</text>"}) {
        EXPECT_EQ(Count(plain, label), 0u) << label;
        EXPECT_EQ(Count(labelled, label), 1u) << label;
    }

    // The X range reaches the file: from 0 to 10 the axis is labelled 10.
    ASSERT_EQ(RunFit(folder, {"--plot", "ranged.svg", "--xmin=0", "--xmax", "10", "--log-y",
                              KX_SAMPLE_FILE})
                  .status,
              0);
    const std::string ranged = FileBytes(folder.file("ranged.svg"));
    EXPECT_NE(ranged.find(">10.</text>"), std::string::npos);
    EXPECT_NE(ranged, plain);

    ASSERT_EQ(RunFit(folder, {"--plot", "log.png", "--log-x", "--log-y", KX_SAMPLE_FILE}).status,
              0);
    EXPECT_TRUE(StartsWith(FileBytes(folder.file("log.png")), "\x89PNG\r\n"));
}

TEST(KuvatelixFitPlot, RefusesBadPlotOptionsAndWritesNothing) {
    TempFolder folder;
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"--plot", "plot.doc"}, 2, "ﾌｧｲﾙ名不正 (the name must end in .pdf, .svg or .png)"},
        {{"--plot", "plot.pdf", "--xmin", "abc"}, 2, "--xmin abc: 入力ｴﾗｰ"},
        {{"--plot", "plot.pdf", "--xmax", "1E+39"}, 2, "--xmax 1E+39: 入力ｴﾗｰ"},
        {{"--plot", "plot.pdf", "--xmin", "5", "--xmax", "5"},
         1,
         "入力ｴﾗｰ (Xmax must be above Xmin by more than a float resolves, and both above 0 "
         "with --log-x)"},
        {{"--plot", "plot.pdf", "--xmin", "1e-45", "--xmax", "1e-44"}, 1, "入力ｴﾗｰ"},
        {{"--plot", "plot.pdf", "--log-x", "--xmin", "-1"}, 1, "入力ｴﾗｰ"},
        {{"--plot", "no-such-folder/plot.pdf"}, 1, "書込めません。"},
        {{"--log-y"}, 2, "--log-y: shapes the plot, but no --plot FILE is given"},
        {{"--xmax", "3"}, 2, "--xmax: shapes the plot"},
        {{"--plot", ""}, 2, "--plot: a value is missing"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--out", "out", KX_SAMPLE_FILE});
        const Ran run = RunFit(folder, arguments);
        SCOPED_TRACE(arguments.front() + " " + arguments[1]);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(folder.file("out"))) << "no listings either";
        EXPECT_FALSE(std::filesystem::exists(folder.file("plot.pdf")));
    }
}

TEST(KuvatelixFitPlot, ListingsThatFailAfterThePlotNameIt) {
    TempFolder folder;
    std::ofstream(folder.file("blocker")) << "not a folder";
    const Ran run = RunFit(folder, {"--plot", "plot.svg", "--out", "blocker/out", KX_SAMPLE_FILE});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("書込めません。"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("plot.svg: written nevertheless"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder.file("plot.svg")));
}

#else

TEST(KuvatelixFitPlot, IsRefusedWithoutThePlotPainter) {
    TempFolder folder;
    const Ran run = RunFit(folder, {"--plot", "plot.pdf", KX_SAMPLE_FILE});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not available in this build"), std::string::npos) << run.err;
}

#endif

}  // namespace
}  // namespace kx::test
