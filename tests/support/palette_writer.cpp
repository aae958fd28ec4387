#include "tests/support/palette_writer.h"

#include <cstring>
#include <fstream>

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Be32(std::uint32_t value) {
    return Be16(value >> 16) + Be16(value & 0xFFFF);
}

std::string BeFloat(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Be32(bits);
}

std::string AcoHeader(unsigned version, unsigned count) {
    return Be16(version) + Be16(count);
}

std::string AcoRecord(unsigned space, unsigned c1, unsigned c2, unsigned c3, unsigned c4) {
    return Be16(space) + Be16(c1) + Be16(c2) + Be16(c3) + Be16(c4);
}

std::string AcoName(unsigned length, const std::u16string& units) {
    std::string bytes = Be32(length);
    for (char16_t unit : units) {
        bytes += Be16(unit);
    }
    return bytes;
}

std::string AcoFile(const std::vector<Swatch>& swatches, bool named, int count) {
    const unsigned announced = count < 0 ? static_cast<unsigned>(swatches.size()) : count;
    std::string plain = AcoHeader(1, announced), names = AcoHeader(2, announced);
    for (const Swatch& s : swatches) {
        const std::string record = AcoRecord(s.space, s.red * 257, s.green * 257, s.blue * 257);
        plain += record;
        names += record + AcoName(static_cast<unsigned>(s.name.size() + 1), s.name + u'\0');
    }
    return named ? plain + names : plain;
}

std::string AseFile(const std::vector<std::string>& blocks, int count, unsigned major) {
    std::string bytes = "ASEF" + Be16(major) + Be16(0) +
                        Be32(count < 0 ? static_cast<std::uint32_t>(blocks.size()) : count);
    for (const std::string& block : blocks) {
        bytes += block;
    }
    return bytes;
}

std::string AseBlock(unsigned type, const std::string& contents) {
    return Be16(type) + Be32(static_cast<std::uint32_t>(contents.size())) + contents;
}

std::string AseName(const std::u16string& text) {
    std::string bytes = Be16(static_cast<unsigned>(text.size() + 1));
    for (char16_t unit : text + u'\0') {
        bytes += Be16(unit);
    }
    return bytes;
}

std::string AseColour(const std::u16string& name, const char* model,
                      const std::vector<float>& values, unsigned kind) {
    std::string contents = AseName(name) + model;
    for (float value : values) {
        contents += BeFloat(value);
    }
    return AseBlock(0x0001, contents + Be16(kind));
}

std::string AseGroup(const std::u16string& name) {
    return AseBlock(0xC001, AseName(name));
}

std::string AseGroupEnd() {
    return AseBlock(0xC002, "");
}

std::string ActFile(const std::vector<Swatch>& swatches, int used, unsigned transparent) {
    std::string bytes;
    for (const Swatch& s : swatches) {
        bytes += {static_cast<char>(s.red), static_cast<char>(s.green), static_cast<char>(s.blue)};
    }
    bytes.resize(768, '\0');
    return used < 0 ? bytes : bytes + Be16(used) + Be16(transparent);
}

std::string PaletteFile(const std::string& extension, const std::vector<Swatch>& swatches) {
    if (extension == ".act") {
        return ActFile(swatches);
    }
    if (extension != ".ase" && extension != ".gpl") {
        return AcoFile(swatches, true);
    }
    std::vector<std::string> blocks;
    std::string gpl = "GIMP Palette\n";
    for (const Swatch& s : swatches) {
        blocks.push_back(
            AseColour(s.name, "RGB ", {s.red / 255.0f, s.green / 255.0f, s.blue / 255.0f}));
        gpl += std::to_string(s.red) + ' ' + std::to_string(s.green) + ' ' +
               std::to_string(s.blue) + '\t' + std::string(s.name.begin(), s.name.end()) + '\n';
    }
    return extension == ".ase" ? AseFile(blocks) : gpl;
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

std::filesystem::path WriteSwatchFile(const std::filesystem::path& name,
                                      const std::vector<Swatch>& swatches, bool named, int count) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    return WriteBytes(path, AcoFile(swatches, named, count)) ? path : std::filesystem::path();
}
