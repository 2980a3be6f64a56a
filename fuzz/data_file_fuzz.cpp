// The data file reader on arbitrary bytes: it never fails other than by its
// outcome, keeps to the data set's limits, and what it loads is written back
// and read again unchanged.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/data/numeric_text.h"
#include "core/data/preparation.h"
#include "core/data/text_chars.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"

namespace {

using namespace kx::core;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::size_t Records(const std::string& pointText) {
    std::size_t count = 0;
    for (std::size_t at = pointText.find("\r\n"); at != std::string::npos;
         at = pointText.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

void CheckRead(const DataFileRead& read) {
    Check(read.lines.size() <= static_cast<std::size_t>(kMaxLines));
    Check((read.outcome == DataFileOutcome::kLoaded) == (read.fault == ContentFault::kNone));
    Check(read.outcome != DataFileOutcome::kCannotOpen);
    for (std::size_t i = 0; i < read.lines.size(); ++i) {
        const LoadedLine& line = read.lines[i];
        Check(line.pointCount >= 2 && line.pointCount <= kMaxPoints);
        Check(!line.parameterText.empty() && IsNumericText(line.parameterText));
        Check(FitsSingle(ValueOfText(line.parameterText)));
        const std::size_t records = Records(line.pointText);
        Check(records <= static_cast<std::size_t>(line.pointCount));
        Check(line.complete == (records == static_cast<std::size_t>(line.pointCount)));
        // Only the line the read stopped in may be incomplete.
        Check(line.complete ||
              (i + 1 == read.lines.size() && read.outcome == DataFileOutcome::kBadContent));
        for (std::string_view record : SplitCrLfLines(line.pointText)) {
            Check(record.find(',') != std::string_view::npos);
        }
    }
}

void CheckRoundTrip(const DataFileRead& read) {
    DataSet data;
    ApplyDataFileRead(data, read);
    const CodecResult bytes = Utf8ToCp932(AllLinesDataText(data));
    if (bytes.status != CodecStatus::kOk) return;
    const DataFileRead again = ParseDataFile(bytes.text);
    Check(again.outcome == DataFileOutcome::kLoaded);
    Check(again.lines.size() == read.lines.size());
    for (std::size_t i = 0; i < read.lines.size(); ++i) {
        Check(again.lines[i].pointText == read.lines[i].pointText);
        Check(again.lines[i].pointCount == read.lines[i].pointCount);
        // Seven digits of a Single need not give the same Single back.
        const double before = ValueOfText(read.lines[i].parameterText);
        const double after = ValueOfText(again.lines[i].parameterText);
        Check(before == after || std::fabs(after - before) <= 1e-6 * std::fabs(before));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DataFileRead read = ParseDataFile(bytes);
    CheckRead(read);
    if (read.outcome == DataFileOutcome::kLoaded) CheckRoundTrip(read);

    // Whatever was loaded, the preparation that follows a load copes with it.
    DataSet loaded;
    ApplyDataFileRead(loaded, read);
    const int16_t state = PrepareDataSet(loaded);
    Check(state == kPrepared || state == kGapInLines || state == kMissingXOrY ||
          state == kNotNumeric || state == kTooFewPoints || state == kNoData ||
          state == kParameterNotNumeric);
    if (state == kPrepared) {
        for (int line = 1; line <= loaded.lineCount; ++line) {
            Check(loaded.preparedCount[line] >= 3 && loaded.preparedCount[line] <= kMaxPoints);
        }
    }
    return 0;
}
