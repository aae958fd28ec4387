#include "tests/swatch/swatch_test_support.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

void Put16(std::string& bytes, unsigned value) {
    bytes.push_back(static_cast<char>(value >> 8 & 0xFF));
    bytes.push_back(static_cast<char>(value & 0xFF));
}

}  // namespace

std::string Header(std::uint16_t version, std::uint16_t count) {
    std::string bytes;
    Put16(bytes, version);
    Put16(bytes, count);
    return bytes;
}

std::string Record(std::uint16_t colourSpace, std::uint16_t c1, std::uint16_t c2, std::uint16_t c3,
                   std::uint16_t c4) {
    std::string bytes;
    for (std::uint16_t value : {colourSpace, c1, c2, c3, c4}) {
        Put16(bytes, value);
    }
    return bytes;
}

std::string Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Record(0, red << 8, green << 8, blue << 8);
}

std::string Records(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes += Record(0, i, 0xFFFF - i, i * 7);
    }
    return bytes;
}

std::string Name(std::uint32_t length, std::uint32_t units) {
    std::string bytes;
    Put16(bytes, length >> 16);
    Put16(bytes, length & 0xFFFF);
    for (std::uint32_t i = 0; i < units; ++i) {
        Put16(bytes, i + 1 == length ? 0 : 'a' + i % 26);
    }
    return bytes;
}

ScratchDir::ScratchDir()
    : path_(fs::temp_directory_path() /
            ("swatch-test-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    if (!fs::create_directory(path_)) {
        throw std::runtime_error("cannot make " + path_.string());
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + name);
    }
    return PathOf(name);
}

std::string RecordsOf(SwatchTable& table) {
    std::string bytes;
    const SwatchEntry* entry = nullptr;
    for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
        Put16(bytes, entry->colourSpace);
        bytes.append(reinterpret_cast<const char*>(entry->components), sizeof entry->components);
    }
    return bytes;
}
