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

TEST(OrderLinesByParameter, RanksLinesByAscendingValue) {
    DataSet data;
    data.parameterText[1] = "20";
    data.parameterText[2] = "5";
    data.parameterText[3] = "10";
    OrderLinesByParameter(data, 3);
    EXPECT_EQ(data.parameterValue[1], 5.0f);
    EXPECT_EQ(data.parameterValue[2], 10.0f);
    EXPECT_EQ(data.parameterValue[3], 20.0f);
    EXPECT_EQ(data.lineOrder[1], 2);
    EXPECT_EQ(data.lineOrder[2], 3);
    EXPECT_EQ(data.lineOrder[3], 1);
}

TEST(OrderLinesByParameter, EqualValuesKeepEveryLineOnce) {
    DataSet data;
    data.parameterText[1] = "10";
    data.parameterText[2] = "5";
    data.parameterText[3] = "10.0";
    data.parameterText[4] = "5";
    OrderLinesByParameter(data, 4);
    EXPECT_EQ(data.lineOrder[1], 2);
    EXPECT_EQ(data.lineOrder[2], 4);
    EXPECT_EQ(data.lineOrder[3], 1);
    EXPECT_EQ(data.lineOrder[4], 3);
}

}  // namespace
}  // namespace kx::core
