#include "core/data/keyboard_text.h"

#include <gtest/gtest.h>

#include "core/data/preparation.h"
#include "support/data_sets.h"

namespace kx::core {
namespace {

TEST(KeyboardPointText, EveryPairBecomesXCommaY) {
    const struct {
        const char* box;
        const char* text;
    } cases[] = {
        {"1.5\t20\r\n2\t30\r\n", "1.5,20\r\n2,30\r\n"},  // pasted from a spreadsheet
        {"1\t2\t9\r\n", "1,2\r\n"},                      // a third column is not read
        {"1.5  20\r\n 3 4 \r\n", "1.5,20\r\n3,4\r\n"},   // blanks
        {"1, 2,9\r\n", "1,2\r\n"},                       // commas, trimmed
        {"1,2\r\n3,4", "1,2\r\n3,4\r\n"},                // the last line without CR LF
        {"1,2\r\n\r\n3,4\r\n", "1,2\r\n"},               // the pairs end at an empty line
        {"1.5;20\r\n2,3\r\n", "1.5;20\r\n2,3\r\n"},      // a refused line stays as typed
        {"1,2\r\n1.5 20 30\r\n4\t5\r\n", "1,2\r\n1.5 20 30\r\n4,5\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyboardPointText(c.box), c.text) << c.box;

    std::string hundredAndOne;
    for (int i = 0; i < 101; ++i) hundredAndOne += std::to_string(i) + "\t1\r\n";
    EXPECT_EQ(CountPoints(KeyboardPointText(hundredAndOne)), 100);
}

// What the keyboard-entry window prepares from its boxes, the DataSet window
// prepares from the point texts: the same points, or a refusal in both.
TEST(KeyboardPointText, BothWindowsPrepareTheSamePoints) {
    const std::string boxes[][2] = {
        {"1\t2\r\n2\t3.5\r\n3\t5\r\n4\t7\r\n", "1 1\r\n2  2\r\n3,3\r\n"},
        {"1,2\r\n2;3\r\n3,4\r\n", "1,1\r\n2,2\r\n3,3\r\n"},
        {"1,2\r\n2,x\r\n3,4\r\n", "1,1\r\n2,2\r\n3,3\r\n"},
    };
    for (const auto& [first, second] : boxes) {
        SCOPED_TRACE(first);
        DataSet keyboard = test::Typed({first, second}, test::WithLines({{"10", ""}, {"20", ""}}));
        const KeyboardPages pages = test::PagesOf(keyboard, {"10", "20"});
        DataSet dataSet =
            test::WithLines({{"10", KeyboardPointText(first)}, {"20", KeyboardPointText(second)}});
        const bool keyboardPrepared = PrepareKeyboardEntry(keyboard, pages) == kKeyboardPrepared;
        const bool dataSetPrepared = PrepareDataSet(dataSet) == kPrepared;
        ASSERT_EQ(dataSetPrepared, keyboardPrepared);
        if (!keyboardPrepared) continue;
        ASSERT_EQ(dataSet.lineCount, keyboard.lineCount);
        for (int l = 1; l <= keyboard.lineCount; ++l) {
            ASSERT_EQ(dataSet.preparedCount[l], keyboard.preparedCount[l]);
            for (int i = 1; i <= keyboard.preparedCount[l]; ++i) {
                EXPECT_EQ(dataSet.xText[l][i], keyboard.xText[l][i]);
                EXPECT_EQ(dataSet.yText[l][i], keyboard.yText[l][i]);
            }
        }
    }
}

}  // namespace
}  // namespace kx::core
