#pragma once

#include <cstddef>

#include "swatch/swatch_entry.h"

// A non-RGB record's colour in its file's own terms, into `out` (at most size - 1 characters and
// a terminating zero; UTF-8):
//   "Lab 35.00 -5.20 -57.10"   L, a and b as stored, to two places
//   "CMYK 0 100 100 0 %"       ink per cent, rounded (the file stores 100 % ink as 0)
//   "HSB 210° 50 80 %"         hue in whole degrees, saturation and brightness per cent
//   "Grey 50 %"                black per cent, as stored (0 is white)
// Gives the length written; 0, with "" written, for RGB records and spaces that name no colour.
std::size_t DescribeStoredColour(const SwatchEntry& entry, char* out, std::size_t size);
