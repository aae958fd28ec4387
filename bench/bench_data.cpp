#include "bench/bench_data.h"

#include <cstdio>
#include <random>

#include "tests/support/palette_writer.h"

std::string WriteBenchFile(bool named) {
    std::vector<Swatch> swatches;
    std::mt19937 random(42);
    for (int i = 0; i < kBenchRecords; ++i) {
        const std::uint32_t value = random();
        char name[24];
        std::snprintf(name, sizeof name, "Swatch colour %05d", i);
        swatches.push_back({0, static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                            static_cast<int>(value >> 16 & 0xFF), std::u16string(name, name + 19)});
    }
    const std::string file = "swatch-bench-" + std::to_string(std::random_device()()) + ".aco";
    return WriteSwatchFile(file, swatches, named).string();
}

std::vector<COLORREF> BenchQueries() {
    std::mt19937 random(7);
    std::vector<COLORREF> queries(64);
    for (COLORREF& query : queries) {
        query = random() & 0xFFFFFF;
    }
    return queries;
}
