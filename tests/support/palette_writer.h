// Palette files as image editors write them, built for the unit tests, the benchmark and the
// end-to-end driver. Swatch (.aco) pieces are big-endian, to be joined with +.
#ifndef TINTWELL_TESTS_PALETTE_WRITER_H
#define TINTWELL_TESTS_PALETTE_WRITER_H

#include <filesystem>
#include <string>
#include <vector>

std::string Be16(unsigned value);
std::string AcoHeader(unsigned version, unsigned count);
std::string AcoRecord(unsigned space, unsigned c1, unsigned c2, unsigned c3, unsigned c4 = 0);
// What follows a version-2 record: a length in two-byte units (32 bits), then `units`.
std::string AcoName(unsigned length, const std::u16string& units);

struct Swatch {
    int space, red, green, blue;  // each channel a byte
    std::u16string name = u"";
};
// A header announcing `count` records (for -1, as many as given), the records, and when
// `named`, the section that repeats them with their names.
std::string AcoFile(const std::vector<Swatch>& swatches, bool named = false, int count = -1);

// The bytes as the whole file at `path`, its folders made as needed.
bool WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// AcoFile under `name` in the temporary folder: its path, or an empty one if it was not written.
std::filesystem::path WriteSwatchFile(const std::filesystem::path& name,
                                      const std::vector<Swatch>& swatches, bool named = false,
                                      int count = -1);

#endif
