#pragma once

#include "swatch/formats/palette.h"

class ByteReader;

// Reads a palette file of any format the table knows into `out`.
ReadOutcome ReadPalette(ByteReader& in, Palette& out);
