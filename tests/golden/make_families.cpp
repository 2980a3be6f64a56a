// Writes the data files of the listing comparison into a folder: the noisy
// families the benchmarks fit (10 lines of 100 and of 30 points), the broken
// lines of three sections, and a family of awkward lines. The committed files
// were written by this program; they, not the program, are the inputs of the
// comparison, so that a change of the standard library's random numbers
// cannot change them.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "noisy_family.h"
#include "three_section_family.h"

namespace {

using kx::core::DataSet;

std::string Rows(const std::vector<std::pair<double, double>>& points) {
    std::string text;
    for (const auto& [x, y] : points) {
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "%.6g,%.6g\r\n", x, y);
        text += buffer;
    }
    return text;
}

// Lines that strain the fit: signs changing and zeros (systems skipped), a
// constant, Y = 0 throughout, a section no form rates below 1000000, repeated
// X values (singular normal equations), and values near the float limits.
DataSet AwkwardFamily() {
    std::vector<std::pair<double, double>> signs;
    for (int i = 0; i < 12; ++i) signs.push_back({i - 6.0, (i % 3 - 1) * 2.0});
    std::vector<std::pair<double, double>> flat;
    for (int i = 0; i < 8; ++i) flat.push_back({static_cast<double>(i), 0.0});
    std::vector<std::pair<double, double>> repeated;
    for (int i = 0; i < 14; ++i) repeated.push_back({1.0 + i / 4, 3.0 + 0.5 * (i % 4)});
    std::vector<std::pair<double, double>> huge;
    for (int i = 0; i < 10; ++i) huge.push_back({2e15 * (i + 1), 3e20 * (i + 1) * (i + 1)});
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"1", Rows(signs)},    {"2", Rows({{1, 2}, {2, 2}, {3, 2}})},
        {"3", Rows(flat)},     {"4", Rows({{0, 0}, {1, 1.1e-20}, {2, 1e10}, {3, 0}})},
        {"5", Rows(repeated)}, {"6", Rows(huge)},
    };
    DataSet data;
    for (int line = 1; line <= kx::core::kMaxLines; ++line) kx::core::ResetLine(data, line);
    int line = 1;
    for (const auto& [parameter, rows] : lines) {
        data.parameterText[line] = parameter;
        kx::core::SetPointText(data, line, rows);
        ++line;
    }
    return data;
}

bool Write(const std::filesystem::path& folder, const char* name, const DataSet& data) {
    const std::string path = (folder / name).string();
    if (kx::core::SaveText(path, kx::core::AllLinesDataText(data)).status ==
        kx::core::SaveStatus::kSaved)
        return true;
    std::fprintf(stderr, "make_families: %s: 書込めません。\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_families FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const bool written = Write(folder, "noisy_10x100.dat", NoisyFamily(10, 100)) &&
                         Write(folder, "noisy_10x30.dat", NoisyFamily(10, 30)) &&
                         Write(folder, "three_sections.dat", ThreeSectionFamily(10)) &&
                         Write(folder, "awkward.dat", AwkwardFamily());
    return written ? 0 : 1;
}
