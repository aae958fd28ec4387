#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windef.h>
#else
typedef std::uint32_t COLORREF;
#endif

// One colour record of a swatch file.
struct SwatchEntry {
    std::uint16_t colourSpace;   // host byte order; 0 is RGB
    std::uint8_t components[8];  // four 16-bit components as stored in the file, high byte first
};
static_assert(sizeof(SwatchEntry) == 10, "a table entry is exactly one file record");

// A record of colour space `space` with these four components, stored high byte first.
inline SwatchEntry MakeSwatchEntry(std::uint16_t space, std::uint16_t c1, std::uint16_t c2,
                                   std::uint16_t c3, std::uint16_t c4 = 0) {
    SwatchEntry entry{space, {}};
    const std::uint16_t components[] = {c1, c2, c3, c4};
    for (int i = 0; i < 4; ++i) {
        entry.components[2 * i] = static_cast<std::uint8_t>(components[i] >> 8);
        entry.components[2 * i + 1] = static_cast<std::uint8_t>(components[i]);
    }
    return entry;
}
