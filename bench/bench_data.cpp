#include "bench/bench_data.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "tests/support/palette_writer.h"

namespace {

std::vector<Swatch> RandomSwatches(int count) {
    std::vector<Swatch> swatches;
    std::mt19937 random(42);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t value = random();
        char name[24];
        std::snprintf(name, sizeof name, "Swatch colour %05d", i);
        swatches.push_back({0, static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                            static_cast<int>(value >> 16 & 0xFF), std::u16string(name, name + 19)});
    }
    return swatches;
}

std::string WriteTemporary(const std::string& extension, const std::string& bytes) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("swatch-bench-" + std::to_string(std::random_device()()) + extension);
    return WriteBytes(path, bytes) ? path.string() : "";
}

}  // namespace

std::string WritePaletteBenchFile(const std::string& extension, int count) {
    return WriteTemporary(extension, PaletteFile(extension, RandomSwatches(count)));
}

std::string WriteBenchFile(bool named) {
    return WriteTemporary(".aco", AcoFile(RandomSwatches(kBenchRecords), named));
}

std::vector<COLORREF> BenchQueries() {
    std::mt19937 random(7);
    std::vector<COLORREF> queries(64);
    for (COLORREF& query : queries) {
        query = random() & 0xFFFFFF;
    }
    return queries;
}
