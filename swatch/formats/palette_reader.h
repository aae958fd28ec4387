#pragma once

#include "swatch/formats/palette.h"

class ByteReader;

// Reads a palette file of any format the table knows into `out`, the format told by the file's
// first bytes, and for colour tables by its size and name; `fileName` is the path `in` reads.
ReadOutcome ReadPalette(ByteReader& in, const char* fileName, Palette& out);
