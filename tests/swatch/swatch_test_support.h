#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "swatch/swatch_table.h"

// Pieces of swatch files, in the file's big-endian order, to be joined with +.
std::string Header(std::uint16_t version, std::uint16_t count);
std::string Record(std::uint16_t colourSpace, std::uint16_t c1, std::uint16_t c2, std::uint16_t c3,
                   std::uint16_t c4 = 0);
std::string Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// `count` distinct RGB records.
std::string Records(int count);
// The name after a version-2 record: its length in two-byte units, then `units` units.
std::string Name(std::uint32_t length, std::uint32_t units);
inline std::string Name(std::uint32_t length) {
    return Name(length, length);
}

// A directory of its own under the system's temporary directory, removed with its contents.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
    // Writes the file and gives its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

// The table's entries as its walk gives them, turned back into file records.
std::string RecordsOf(SwatchTable& table);
