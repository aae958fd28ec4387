#include "tests/swatch/swatch_test_support.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("swatch-test-" + std::to_string(stamp) +
                                                          "-" + std::to_string(attempt));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no scratch directory could be made");
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    const fs::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file.string();
}

std::string RecordsOf(SwatchTable& table) {
    std::string records;
    const SwatchEntry* entry = nullptr;
    for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
        records.push_back(static_cast<char>(entry->colourSpace >> 8));
        records.push_back(static_cast<char>(entry->colourSpace & 0xFF));
        records.append(reinterpret_cast<const char*>(entry->components), sizeof entry->components);
    }
    return records;
}
