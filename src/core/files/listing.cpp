#include "core/files/listing.h"

#include "core/fitting/fit_family.h"

namespace kx::core {
namespace {

template <typename List>
void AppendRecords(std::string& text, const List& list) {
    for (const std::string& entry : list) {
        text += entry;
        text += "\r\n";
    }
}

}  // namespace

ResultLists ResultListsOf(const DataSet& data, const CalcSettings& settings,
                          const FitResults& results) {
    ResultLists lists;
    lists.history = results.fittingLog;
    lists.details = DescribeResults(data, settings, results).lines;
    lists.equations = results.summary;
    lists.program = results.program;
    return lists;
}

std::string ListingText(int saveKind, const ResultLists& lists) {
    const std::string separator(40, '*');
    std::string text;
    switch (saveKind) {
        case kSaveProgram: AppendRecords(text, lists.program); break;
        case kSaveEquations: AppendRecords(text, lists.equations); break;
        case kSaveAllResults:
            AppendRecords(text, lists.details);
            text += separator + "\r\n";
            AppendRecords(text, lists.equations);
            text += separator + "\r\n";
            AppendRecords(text, lists.program);
            break;
        case kSaveHistory: AppendRecords(text, lists.history); break;
        default: break;
    }
    return text;
}

std::string RecordsText(const std::vector<std::string>& entries) {
    std::string text;
    AppendRecords(text, entries);
    return text;
}

std::string SourceText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace kx::core
