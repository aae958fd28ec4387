#include "bench/bench_data.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

std::string WriteBenchFile(bool named) {
    std::string bytes = {0, 1, static_cast<char>(kBenchRecords >> 8),
                         static_cast<char>(kBenchRecords & 0xFF)};
    std::string names = {0, 2, bytes[2], bytes[3]};
    std::mt19937 random(42);
    for (int i = 0; i < kBenchRecords; ++i) {
        const std::uint32_t value = random();
        const char record[10] = {0,
                                 0,
                                 static_cast<char>(value),
                                 0,
                                 static_cast<char>(value >> 8),
                                 0,
                                 static_cast<char>(value >> 16),
                                 0,
                                 0,
                                 0};
        bytes.append(record, sizeof record);
        char name[24];
        std::snprintf(name, sizeof name, "Swatch colour %05d", i);
        names.append(record, sizeof record);
        names += {0, 0, 0, static_cast<char>(std::strlen(name) + 1)};
        for (const char* c = name; c == name || c[-1] != '\0'; ++c) {
            names += {0, *c};
        }
    }
    if (named) {
        bytes += names;
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("swatch-bench-" + std::to_string(std::random_device()()) + ".aco"))
                                 .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return "";
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? path : "";
}

std::vector<COLORREF> BenchQueries() {
    std::mt19937 random(7);
    std::vector<COLORREF> queries(64);
    for (COLORREF& query : queries) {
        query = random() & 0xFFFFFF;
    }
    return queries;
}
