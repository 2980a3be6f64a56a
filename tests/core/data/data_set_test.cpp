#include "core/data/data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/data/sort_pairs.h"

namespace kx::core {
namespace {

TEST(DataSet, ResetAppendAndCount) {
    DataSet data;
    data.pointText[3] = "1,2\r\n";
    data.pointCount[3] = 1;
    data.parameterText[3] = "77";
    ResetLine(data, 3);
    EXPECT_EQ(data.pointText[3], "");
    EXPECT_EQ(data.pointCount[3], 0);
    EXPECT_EQ(data.parameterText[3], "3");

    AppendPoint(data, 2, " 12.5 ", "3.25 ");
    AppendPoint(data, 2, "13", "4");
    EXPECT_EQ(data.pointText[2], "12.5,3.25\r\n13,4\r\n");
    EXPECT_EQ(data.pointCount[2], 2);
    // A hand-edited text without its last CR LF keeps its records apart.
    data.pointText[4] = "1,2";
    AppendPoint(data, 4, "3", "4");
    EXPECT_EQ(data.pointText[4], "1,2\r\n3,4\r\n");

    EXPECT_EQ(CountPoints("1,2\r\n3,4\r\n"), 2);
    EXPECT_EQ(CountPoints(std::string(150, ',')), 100);
    EXPECT_EQ(CountPoints(""), 0);
}

TEST(DataSet, PointCountStopsAtTheLargest16BitValue) {
    DataSet data;
    data.pointCount[1] = 32766;
    AppendPoint(data, 1, "1", "2");
    AppendPoint(data, 1, "1", "2");
    EXPECT_EQ(data.pointCount[1], 32767);
}

TEST(DataSet, PointBoxEditsAreNormalised) {
    DataSet data;
    EXPECT_EQ(SetPointText(data, 1, "\r\n1,2\r\n\r\n3,4\r\n"), "1,2\r\n3,4\r\n");
    EXPECT_EQ(data.pointText[1], "1,2\r\n3,4\r\n");
    EXPECT_EQ(data.pointCount[1], 2);

    // Without a comma the text stays as typed and counts as no points.
    EXPECT_EQ(SetPointText(data, 1, "\r\n12"), "\r\n12");
    EXPECT_EQ(data.pointCount[1], 0);
    EXPECT_EQ(SetPointText(data, 1, ""), "");
    EXPECT_EQ(data.pointCount[1], 0);

    // At most ten empty text lines go per edit: of 12 empty lines, 2 stay.
    std::string many = "1,2\r\n";
    for (int i = 0; i < 12; ++i) many += "\r\n";
    EXPECT_EQ(SetPointText(data, 1, many), "1,2\r\n\r\n\r\n");

    SetParameterText(data, 4, "  25 ");
    EXPECT_EQ(data.parameterText[4], "25");
}

TEST(SortPairs, SortsKeysAndMovesCompanions) {
    std::vector<float> keys = {0, 3, 1, 2};
    std::vector<float> companions = {0, 30, 10, 20};
    SortPairs(keys, companions, 3);
    EXPECT_EQ(keys, (std::vector<float>{0, 1, 2, 3}));
    EXPECT_EQ(companions, (std::vector<float>{0, 10, 20, 30}));

    std::vector<float> ties = {0, 2, 2, 1};
    std::vector<float> other = {0, 0, 0, 0};
    SortPairs(ties, other, 3);
    EXPECT_EQ(ties, (std::vector<float>{0, 1, 2, 2}));
}

TEST(SortPairs, AgreesWithAStableReferenceOnRandomData) {
    std::mt19937 random(11);
    for (int n : {1, 2, 5, 17, 64, 100}) {
        for (int round = 0; round < 50; ++round) {
            std::uniform_int_distribution<int> pick(0, round % 2 == 0 ? 5 : 1000);
            std::vector<float> keys(n + 1), companions(n + 1);
            std::vector<std::pair<float, float>> reference;
            for (int i = 1; i <= n; ++i) {
                keys[i] = static_cast<float>(pick(random));
                companions[i] = keys[i] * 10.0f + 1.0f;  // a companion tied to its key
                reference.push_back({keys[i], companions[i]});
            }
            SortPairs(keys, companions, n);
            std::sort(reference.begin(), reference.end());
            for (int i = 1; i <= n; ++i) {
                ASSERT_EQ(keys[i], reference[i - 1].first);
                ASSERT_EQ(companions[i], keys[i] * 10.0f + 1.0f);
            }
            EXPECT_EQ(keys[0], 0.0f);
        }
    }
}

// Equal values give each rank its own line, the lower line number first.
TEST(OrderLinesByParameter, RanksLinesByAscendingValueKeepingEveryLineOnce) {
    struct Case {
        std::vector<const char*> parameters;
        std::vector<float> values;
        std::vector<int16_t> order;
    };
    const Case cases[] = {
        {{"20", "5", "10"}, {5, 10, 20}, {2, 3, 1}},
        {{"10", "5", "10.0", "5"}, {5, 5, 10, 10}, {2, 4, 1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters.size());
        DataSet data;
        for (std::size_t k = 0; k < c.parameters.size(); ++k) {
            data.parameterText[k + 1] = c.parameters[k];
        }
        OrderLinesByParameter(data, static_cast<int>(c.parameters.size()));
        for (std::size_t k = 0; k < c.order.size(); ++k) {
            EXPECT_EQ(data.parameterValue[k + 1], c.values[k]) << k + 1;
            EXPECT_EQ(data.lineOrder[k + 1], c.order[k]) << k + 1;
        }
    }
}

}  // namespace
}  // namespace kx::core
