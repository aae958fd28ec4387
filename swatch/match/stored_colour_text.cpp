#include "swatch/match/stored_colour_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "swatch/colour_space.h"

namespace {

unsigned Component(const SwatchEntry& entry, int index) {
    return static_cast<unsigned>(entry.components[2 * index]) << 8 |
           entry.components[2 * index + 1];
}

// A component's share of 65535 in rounded per cent or, with `scale` 360, degrees.
unsigned Scaled(const SwatchEntry& entry, int index, double scale) {
    return static_cast<unsigned>(std::lround(Component(entry, index) / 65535.0 * scale));
}

unsigned Ink(const SwatchEntry& entry, int index) {
    return 100 - Scaled(entry, index, 100);
}

}  // namespace

std::size_t DescribeStoredColour(const SwatchEntry& entry, char* out, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    int length = 0;
    switch (entry.colourSpace) {
    case ColourSpace::kHsb:
        // A hue that rounds to 360 degrees is 0.
        length = std::snprintf(out, size, "HSB %u\xC2\xB0 %u %u %%", Scaled(entry, 0, 360) % 360,
                               Scaled(entry, 1, 100), Scaled(entry, 2, 100));
        break;
    case ColourSpace::kCmyk:
        length = std::snprintf(out, size, "CMYK %u %u %u %u %%", Ink(entry, 0), Ink(entry, 1),
                               Ink(entry, 2), Ink(entry, 3));
        break;
    case ColourSpace::kLab:
        length = std::snprintf(out, size, "Lab %.2f %.2f %.2f", Component(entry, 0) / 100.0,
                               static_cast<std::int16_t>(Component(entry, 1)) / 100.0,
                               static_cast<std::int16_t>(Component(entry, 2)) / 100.0);
        break;
    case ColourSpace::kGrey:
        length = std::snprintf(out, size, "Grey %ld %%", std::lround(Component(entry, 0) / 100.0));
        break;
    default:
        out[0] = '\0';
        return 0;
    }
    if (length < 0) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(length) < size ? static_cast<std::size_t>(length) : size - 1;
}
