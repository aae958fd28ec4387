#include "swatch/closest_rgb.h"

#include <cstdlib>

std::size_t FindClosestRgbPlain(const SwatchEntry* entries, std::size_t count, COLORREF colour) {
    const int red = colour & 0xFF;
    const int green = colour >> 8 & 0xFF;
    const int blue = colour >> 16 & 0xFF;
    std::size_t best = count;
    int bestDistance = kMaxColourDistance;
    for (std::size_t i = 0; i < count; ++i) {
        const SwatchEntry& entry = entries[i];
        if (entry.colourSpace != 0) {
            continue;
        }
        const int distance = std::abs(entry.components[0] - red) +
                             std::abs(entry.components[2] - green) +
                             std::abs(entry.components[4] - blue);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::size_t FindClosestRgb(const SwatchEntry* entries, std::size_t count, COLORREF colour) {
    return FindClosestRgbPlain(entries, count, colour);
}
