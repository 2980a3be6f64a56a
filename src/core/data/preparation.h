#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/data/data_set.h"

// The preparation of the data set: the checks that the DataSet window and the
// keyboard-entry window run before program generation or saving, and the
// normalising of their text boxes. The functions return the state or message
// number of the window; the window shows the message.
namespace kx::core {

// States of the DataSet window's preparation (0 = prepared). A refusal also
// names its line in data.refusal; state 7 covers a parameter that is not a
// number and, when refusal.sameParameterAs is set, one that equals an earlier
// line's once stored as a 32-bit float (not checked when preparing a save).
enum PreparationState : int16_t {
    kPrepared = 0,
    kGapInLines = 1,          // "データが無いパラメータ存在"
    kMissingXOrY = 2,         // "X,Yデータがどちらか欠損"
    kNotNumeric = 3,          // "数値として判断されない"
    kTooFewPoints = 5,        // "データが少ない"
    kNoData = 6,              // "データが無い"
    kParameterNotNumeric = 7  // "パラメータが数値でない"
};

// Share of the progress total for a line of n points: the number of single fits
// the fitting driver runs for it, scaled by the split step.
int ProgressShare(int n);

// The DataSet window's preparation: all lines when data.selectedLine is 0,
// else that line. Builds the prepared form and the progress total and returns
// the state. A failed preparation may leave the prepared form partly rewritten.
int16_t PrepareDataSet(DataSet& data);

// Messages of the keyboard-entry window (0 = prepared).
enum KeyboardMessage : int16_t {
    kKeyboardNothingParsed = -1,  // line 1 has no pairs: the message line shows what it holds
    kKeyboardPrepared = 0,
    kKeyboardBlankValue = 2,   // "ﾌﾞﾗﾝｸﾃﾞｰﾀが存在します"
    kKeyboardBadX = 3,         // "X値が異常"
    kKeyboardBadY = 4,         // "Y値が異常"
    kKeyboardGap = 6,          // "ﾃﾞｰﾀの無いParameterが有る"
    kKeyboardTooFewPairs = 7,  // "X,Yﾃﾞｰﾀの組が少ない"
    kKeyboardNoSeparator = 8,  // "X,Yﾃﾞｰﾀ異常"
    // A parameter whose value a 32-bit float cannot hold, or that equals an
    // earlier line's once stored (data.refusal.sameParameterAs). The window
    // has no message of its own for it and shows the DataSet window's
    // "パラメータが数値でない".
    kKeyboardBadParameter = 9
};

// What a keyboard page holds besides its data box (whose text is the line's
// point text): the parameter box and the count box.
struct KeyboardPage {
    std::string parameterText;
    std::string countText = "0";
};
using KeyboardPages = std::array<KeyboardPage, kMaxLines + 1>;  // index = line

// A data box after an edit: the normalised text and its pair count.
struct KeyboardBox {
    std::string text;
    int16_t count = 0;
};

// Normalises the text of a keyboard data box after a change (CR LF at the end,
// a text of line breaks only emptied, the first empty text line removed) and
// counts its pairs up to the first empty text line, at most 100. The empty
// text line `typingLine` (counted from 0) is the one just made by a Return
// inside the text: it stays, for the pair to be typed there.
inline constexpr int kNoTypingLine = -1;
KeyboardBox NormaliseKeyboardBox(std::string_view text, int typingLine = kNoTypingLine);

// The pair count of a box text when Return is pressed in it.
int16_t CountKeyboardPairs(std::string_view text);
// The text lines before the first empty one are more than a line holds.
bool KeyboardPairsBeyondLimit(std::string_view text);

// Parses the point texts of the keyboard-entry window into the prepared form.
// A refusal names its line in data.refusal.
int16_t PrepareKeyboardEntry(DataSet& data, const KeyboardPages& pages);

}  // namespace kx::core
