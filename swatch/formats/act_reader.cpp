#include "swatch/formats/act_reader.h"

#include <cstring>

#include "swatch/byte_reader.h"
#include "swatch/colour_space.h"

namespace {

constexpr std::size_t kColours = 256;
constexpr std::uint64_t kPlainSize = 3 * kColours;
constexpr std::uint64_t kCountedSize = kPlainSize + 4;
constexpr std::uint16_t kNoTransparent = 0xFFFF;

}  // namespace

bool IsColourTable(std::uint64_t size, const char* fileName) {
    if (size != kPlainSize && size != kCountedSize) {
        return false;
    }
    const std::size_t length = std::strlen(fileName);
    const char* extension = ".act";
    if (length < 4) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = fileName[length - 4 + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != extension[i]) {
            return false;
        }
    }
    return true;
}

ReadOutcome ReadAct(ByteReader& in, Palette& out) {
    std::uint8_t table[kPlainSize];
    if (!in.Bytes(table, sizeof table)) {
        return kDamagedFile;
    }
    std::size_t count = kColours;
    std::uint16_t transparent = kNoTransparent;
    if (in.Size() == kCountedSize) {
        std::uint16_t used = 0;
        if (!in.BE16(&used) || !in.BE16(&transparent)) {
            return kDamagedFile;
        }
        // 0, or more than the table holds, is taken as the whole table.
        if (used >= 1 && used <= kColours) {
            count = used;
        }
    }
    if (!out.Reserve(count)) {
        return {false, SWATCH_E_NO_MEMORY};
    }
    // The transparent colour is a placeholder, not a colour of the palette: it is left out.
    for (std::size_t i = 0; i < count; ++i) {
        if (i != transparent) {
            const std::uint8_t* rgb = table + 3 * i;
            out.Add(MakeSwatchEntry(ColourSpace::kRgb, rgb[0] * 257, rgb[1] * 257, rgb[2] * 257));
        }
    }
    if (out.Count() == 0) {
        return {false, SWATCH_E_COUNT};
    }
    return {true, 0};
}
