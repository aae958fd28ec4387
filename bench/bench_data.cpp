#include "bench/bench_data.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "tests/support/palette_writer.h"

namespace {

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
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("swatch-bench-" + std::to_string(std::random_device()()) + extension);
    return WriteBytes(path, bytes) ? path.string() : "";
}

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
