#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "swatch/swatch_table.h"

// The bytes of a swatch file, written field by field in the file's big-endian order.
class AcoBuilder {
  public:
    AcoBuilder& Header(std::uint16_t version, std::uint16_t count) {
        Put16(version);
        Put16(count);
        return *this;
    }
    AcoBuilder& Record(std::uint16_t colourSpace, std::uint16_t c1, std::uint16_t c2,
                       std::uint16_t c3, std::uint16_t c4 = 0) {
        for (std::uint16_t value : {colourSpace, c1, c2, c3, c4}) {
            Put16(value);
        }
        return *this;
    }
    AcoBuilder& Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        return Record(0, red << 8, green << 8, blue << 8);
    }
    // Rgb of the channels of a COLORREF.
    AcoBuilder& Colour(COLORREF colour) {
        return Rgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    }
    // The name that follows a record in a named (version 2) section: its length in two-byte
    // units, then that many units.
    AcoBuilder& Name(std::uint32_t units) {
        Put16(units >> 16);
        Put16(units & 0xFFFF);
        for (std::uint32_t i = 0; i < units; ++i) {
            Put16(i + 1 == units ? 0 : 'a' + i % 26);
        }
        return *this;
    }
    // A name length with fewer units after it than it announces.
    AcoBuilder& NameLength(std::uint32_t units) {
        Put16(units >> 16);
        Put16(units & 0xFFFF);
        return *this;
    }
    AcoBuilder& Bytes(std::size_t count, std::uint8_t value = 0x5A) {
        data_.append(count, static_cast<char>(value));
        return *this;
    }
    AcoBuilder& Append(const std::string& bytes) {
        data_ += bytes;
        return *this;
    }
    const std::string& Data() const { return data_; }

  private:
    void Put16(unsigned value) {
        data_.push_back(static_cast<char>(value >> 8 & 0xFF));
        data_.push_back(static_cast<char>(value & 0xFF));
    }
    std::string data_;
};

// A directory of its own under the system's temporary directory, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `bytes` to a file of that name in the directory and gives its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

// The table's entries as the walk gives them, turned back into file records (big-endian colour
// space, then the components as held), so that they compare with AcoBuilder output.
std::string RecordsOf(SwatchTable& table);
