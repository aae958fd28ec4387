#pragma once

#include <string_view>

#include "swatch/formats/palette.h"

class ByteReader;

// Whether the first bytes of a file open a GIMP palette: the line "GIMP Palette", in UTF-8 with
// or without a byte-order mark.
bool IsGimpPalette(std::string_view start);
// GIMP palettes: that line, optional "Name:" and "Columns:" lines, comments and blank lines, then
// one "red green blue name" line per colour, values 0..255, the name optional.
ReadOutcome ReadGpl(ByteReader& in, Palette& out);
