#include "core/fitting/fitting_log.h"

#include "core/data/numeric_text.h"
#include "core/fitting/calc_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kx::core {
namespace {

// Every kind of line reads back as the run wrote it, wherever it stands and
// however often a section is repeated.
TEST(FittingLog, RecordsReadBackAsTheirLines) {
    FittingLog log;
    log.AddText(" 1< 1,3 >");
    const std::size_t first = log.AddSection({{0, 2.0f, -0.5f, 0, 0}, 0.00125f, 3, 1, 1});
    const std::size_t second = log.AddSection({{0, 1e-7f, 12345.67f, 0, 0}, 7.5f, 3, 12, 21});
    log.AddCoefficients(first);
    log.AddPlacement(first, 12);
    log.AddGap();
    log.AddCoefficients(second);
    log.AddPlacement(second, 100);
    log.AddRule();
    log.AddScore(0.00125f);
    log.AddRule();
    log.AddPlacement(first, 7);  // the same section closing another partition

    const std::vector<std::string> expected = {
        " 1< 1,3 >",
        "C1= 2  C2=-.5  C3= 0  C4= 0",
        "[Para: 3]  from   1 to  12       EQ No= 1    誤差= .00125",
        "  ",
        "C1= 1E-07  C2= 12345.67  C3= 0  C4= 0",
        "[Para: 3]  from  12 to 100       EQ No=21    誤差= 7.5",
        std::string(78, '-'),
        "  Deviation <<<  .00125  Gr= " + StrText(LogGr(0.00125f)) + " >>>",
        std::string(78, '-'),
        "[Para: 3]  from   1 to   7       EQ No= 1    誤差= .00125"};
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(log[i], expected[i]) << i;
    EXPECT_EQ(log.Texts(), expected);
    EXPECT_EQ(log.Texts(8), std::vector<std::string>(expected.begin() + 8, expected.end()));
    EXPECT_TRUE(log.Texts(expected.size()).empty());
    EXPECT_EQ(log.back(), expected.back());
    std::vector<std::string> iterated;
    for (const std::string& line : log) iterated.push_back(line);
    EXPECT_EQ(iterated, expected);
}

TEST(FittingLog, WideNumbersKeepTheirLastDigits) {
    std::string line;
    AppendRightAligned(line, 7, 3);
    AppendRightAligned(line, 1234, 2);
    AppendRightAligned(line, -5, 3);
    EXPECT_EQ(line, "  734 -5");
}

}  // namespace
}  // namespace kx::core
