// Palette files as image editors write them, built for the unit tests, the benchmark and the
// end-to-end driver. Binary pieces are big-endian, to be joined with +.
#ifndef TINTWELL_TESTS_PALETTE_WRITER_H
#define TINTWELL_TESTS_PALETTE_WRITER_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

std::string Be16(unsigned value);
std::string Be32(std::uint32_t value);
std::string BeFloat(float value);

// Swatch files (.aco).
std::string AcoHeader(unsigned version, unsigned count);
std::string AcoRecord(unsigned space, unsigned c1, unsigned c2, unsigned c3, unsigned c4 = 0);
// What follows a version-2 record: a length in two-byte units (32 bits), then `units`.
std::string AcoName(unsigned length, const std::u16string& units);

struct Swatch {
    int space, red, green, blue;  // each channel a byte
    std::u16string name = u"";    // ASCII only in a GIMP palette
};
// A header announcing `count` records (for -1, as many as given), the records, and when
// `named`, the section that repeats them with their names.
std::string AcoFile(const std::vector<Swatch>& swatches, bool named = false, int count = -1);

// Exchange files (.ase): a header counting `count` blocks (for -1, as many as given), then them.
std::string AseFile(const std::vector<std::string>& blocks, int count = -1, unsigned major = 1);
std::string AseBlock(unsigned type, const std::string& contents);
// A name's length in units with its closing zero, then the units and the zero.
std::string AseName(const std::u16string& text);
// A colour block of `model` ("RGB ", "CMYK", "LAB ", "Gray") and `kind` (2 normal, 0 global).
std::string AseColour(const std::u16string& name, const char* model,
                      const std::vector<float>& values, unsigned kind = 2);
std::string AseGroup(const std::u16string& name);
std::string AseGroupEnd();

// A colour table (.act): 256 triples, the first from `swatches`; when `used` is not -1, then
// the number used and the transparent index.
std::string ActFile(const std::vector<Swatch>& swatches, int used = -1,
                    unsigned transparent = 0xFFFF);

// RGB swatches with their names as a file named by `extension`: .aco (with names), .ase, .gpl
// or .act.
std::string PaletteFile(const std::string& extension, const std::vector<Swatch>& swatches);

// The bytes as the whole file at `path`, its folders made as needed.
bool WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// AcoFile under `name` in the temporary folder: its path, or an empty one if it was not written.
std::filesystem::path WriteSwatchFile(const std::filesystem::path& name,
                                      const std::vector<Swatch>& swatches, bool named = false,
                                      int count = -1);

#endif
