#include "bench/bench_data.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

std::string WriteTemporary(const std::string& bytes, const std::string& extension) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("swatch-bench-" + std::to_string(std::random_device()()) + extension))
            .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return "";
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? path : "";
}

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Be32(std::uint32_t value) {
    return Be16(value >> 16) + Be16(value & 0xFFFF);
}

std::string FloatBe(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Be32(bits);
}

}  // namespace

std::string WritePaletteBenchFile(const std::string& extension, int count) {
    std::mt19937 random(42);
    std::string bytes = extension == ".ase"   ? "ASEF" + Be16(1) + Be16(0) + Be32(count)
                        : extension == ".gpl" ? "GIMP Palette\nName: Bench\nColumns: 16\n#\n"
                                              : "";
    std::string aco = Be16(1) + Be16(count);
    std::string acoNames = Be16(2) + Be16(count);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t value = random();
        const unsigned rgb[3] = {value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF};
        char name[24];
        std::snprintf(name, sizeof name, "Swatch colour %05d", i);
        const std::size_t length = std::strlen(name);
        if (extension == ".ase") {
            std::string block = Be16(static_cast<unsigned>(length + 1));
            for (std::size_t c = 0; c <= length; ++c) {
                block += Be16(static_cast<unsigned char>(name[c]));
            }
            block += "RGB ";
            for (unsigned channel : rgb) {
                block += FloatBe(static_cast<float>(channel) / 255);
            }
            bytes +=
                Be16(0x0001) + Be32(static_cast<std::uint32_t>(block.size() + 2)) + block + Be16(2);
        } else if (extension == ".gpl") {
            char line[64];
            std::snprintf(line, sizeof line, "%3u %3u %3u\t%s\n", rgb[0], rgb[1], rgb[2], name);
            bytes += line;
        } else if (extension == ".act") {
            bytes +=
                {static_cast<char>(rgb[0]), static_cast<char>(rgb[1]), static_cast<char>(rgb[2])};
        } else {
            const std::string record =
                Be16(0) + Be16(rgb[0] << 8) + Be16(rgb[1] << 8) + Be16(rgb[2] << 8) + Be16(0);
            aco += record;
            acoNames += record + Be32(static_cast<std::uint32_t>(length + 1));
            for (std::size_t c = 0; c <= length; ++c) {
                acoNames += Be16(static_cast<unsigned char>(name[c]));
            }
        }
    }
    if (extension == ".act") {
        bytes.resize(768, '\0');
    } else if (extension == ".aco") {
        bytes = aco + acoNames;
    }
    return WriteTemporary(bytes, extension);
}

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
    return WriteTemporary(bytes, ".aco");
}

std::vector<COLORREF> BenchQueries() {
    std::mt19937 random(7);
    std::vector<COLORREF> queries(64);
    for (COLORREF& query : queries) {
        query = random() & 0xFFFFFF;
    }
    return queries;
}
