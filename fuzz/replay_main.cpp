// Runs a fuzz target without libFuzzer: every file of the given folders (or the
// given files) once, then a fixed number of seeded mutations of each, so the
// target's checks run in every test build.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void Run(const Bytes& input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

Bytes Mutate(const Bytes& seed, std::mt19937& random) {
    Bytes out = seed;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = out.empty() ? 0 : random() % out.size();
        switch (random() % 5) {
            case 0:
                if (!out.empty()) out[at] ^= static_cast<uint8_t>(1u << (random() % 8));
                break;
            case 1:
                out.insert(out.begin() + static_cast<long>(at), static_cast<uint8_t>(random()));
                break;
            case 2:
                if (!out.empty()) out.erase(out.begin() + static_cast<long>(at));
                break;
            case 3: out.resize(at); break;
            default: {
                // Repeat a slice: long digit runs, repeated blocks.
                if (out.empty()) break;
                const std::size_t length =
                    1 + random() % std::min<std::size_t>(out.size() - at, 64);
                const Bytes slice(out.begin() + static_cast<long>(at),
                                  out.begin() + static_cast<long>(at + length));
                for (int k = 0; k < 8; ++k) out.insert(out.end(), slice.begin(), slice.end());
                break;
            }
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
        } else {
            files.emplace_back(argv[i]);
        }
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
        }
    }
    seeds.emplace_back();
    std::mt19937 random(20261208);
    for (const Bytes& seed : seeds) Run(seed);
    for (const Bytes& seed : seeds) {
        for (int round = 0; round < 300; ++round) Run(Mutate(seed, random));
    }
    std::printf("replayed %zu seeds with 300 mutations each\n", seeds.size());
    return 0;
}
