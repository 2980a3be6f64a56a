// Writes the data files of the listing comparison into a folder: the noisy
// families the benchmarks fit (10 lines of 100 and of 30 points), the broken
// lines of three sections, and a family of awkward lines. The committed files
// were written by this program; they, not the program, are the inputs of the
// comparison, so that a change of the standard library's random numbers
// cannot change them.
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "noisy_family.h"
#include "support/data_sets.h"
#include "three_section_family.h"

namespace {

using kx::core::DataSet;

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
                         Write(folder, "awkward.dat", kx::test::AwkwardFamily());
    return written ? 0 : 1;
}
