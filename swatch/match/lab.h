#pragma once

#include "swatch/swatch_entry.h"

// A colour in CIE L*a*b* relative to the D50 white, the white swatch files store Lab in.
struct Lab {
    double L;
    double a;
    double b;
};

// An 8-bit sRGB colour (bits 24 to 31 ignored) through linear RGB, XYZ under D65 and Bradford
// adaptation to D50.
Lab SrgbToLab(COLORREF colour);

// The record's colour for the colour spaces that name one: RGB, HSB, CMYK (as open editors read
// it without a profile), Lab and greyscale. False, leaving `out` alone, for every other space.
bool EntryToLab(const SwatchEntry& entry, Lab* out);

// The record's colour as the program shows it: an RGB record's own, any other the nearest 8-bit
// sRGB colour, worked out from what the record stores rather than from its Lab, so that a grey
// stays grey. False, leaving `out` alone, where EntryToLab gives false.
bool EntryToSrgb(const SwatchEntry& entry, COLORREF* out);

// The nearest 8-bit sRGB colour: each channel rounded and clipped to 0..255, so a Lab colour
// outside the sRGB gamut comes back as the edge of it.
COLORREF LabToSrgb(const Lab& colour);
