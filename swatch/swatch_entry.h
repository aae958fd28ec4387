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
