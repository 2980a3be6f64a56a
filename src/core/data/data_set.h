#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The one data set of a program run: the collected form that the windows edit
// and the prepared form that fitting, program generation, saving and plotting
// read. Lines are numbered 1..10 and points 1..100; index 0 of every table is
// never used.
namespace kx::core {

inline constexpr int kMaxLines = 10;
inline constexpr int kMaxPoints = 100;
inline constexpr int kPointTextSlots = 30;  // slots 11..30 always read as empty

using LineTexts = std::array<std::string, kMaxPoints + 1>;

// What a refused preparation names besides its state or message number, for
// the window to show with the message.
struct PreparationRefusal {
    int16_t line = 0;  // the line at fault; 0 when the refusal concerns no one line
    // When the line's parameter equals that of an earlier line once both are
    // stored as 32-bit floats: that earlier line; 0 otherwise.
    int16_t sameParameterAs = 0;
};

struct DataSet {
    // Collected form.
    std::array<std::string, kPointTextSlots + 1> pointText{};  // "X,Y" CR LF per point
    std::array<int16_t, kMaxLines + 1> pointCount{};
    std::array<std::string, kMaxLines + 1> parameterText{};

    // Selection state of the collected form.
    int16_t captureLine = 1;
    int16_t captureMode = 0;
    int16_t parameterLine = 1;
    int16_t parameterEdited = 0;
    int16_t selectedLine = 0;
    int16_t saveKind = 0;
    int16_t prepareForSave = 0;

    // Prepared form.
    int16_t lineCount = 0;
    int16_t lastLine = 0;
    std::array<LineTexts, kMaxLines + 1> xText{};
    std::array<LineTexts, kMaxLines + 1> yText{};
    std::array<int16_t, kMaxLines + 1> preparedCount{};
    std::array<int16_t, kMaxLines + 1> firstPoint{};
    std::array<float, kMaxLines + 1> parameterValue{};
    std::array<int16_t, kMaxLines + 1> lineOrder{};
    int16_t progressTotal = 0;
    int16_t activeLine = 0;
    int16_t activeSection = 0;
    PreparationRefusal refusal;  // of the last preparation; empty after a success
};

// Number of points of a point text: its commas, counting at most 100.
int16_t CountPoints(std::string_view pointText);

// Empty point text, no points, the parameter text the line number ("3").
void ResetLine(DataSet& data, int line);

// Appends trimmed X text, ",", trimmed Y text, CR LF and counts the point, on a
// line of its own even when the text has lost its last CR LF. The 16-bit count
// stops at 32767 instead of wrapping round.
void AppendPoint(DataSet& data, int line, std::string_view xText, std::string_view yText);

// The DataSet window's edit of a point box: without a comma the text is stored
// as it is with 0 points; otherwise a leading CR LF is dropped and up to ten
// empty text lines are removed. Stores the cleaned text and its comma count and
// returns the cleaned text for the box.
std::string SetPointText(DataSet& data, int line, std::string_view text);

// Stores the blank-trimmed parameter text.
void SetParameterText(DataSet& data, int line, std::string_view text);

// Fills parameterValue[1..N] in ascending order and lineOrder[1..N] with the
// line of each rank. Equal parameter values give each rank its own line, the
// lower line number first, so that no line is lost or fitted twice.
void OrderLinesByParameter(DataSet& data, int lineCount);

}  // namespace kx::core
