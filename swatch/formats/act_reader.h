#pragma once

#include <cstdint>

#include "swatch/formats/palette.h"

class ByteReader;

// Colour tables: 256 RGB triples, in a file of 772 bytes followed by the number of colours used
// and the index of the transparent one. The format has no mark of its own: only its exact size
// and its name tell it.
bool IsColourTable(std::uint64_t size, const char* fileName);
ReadOutcome ReadAct(ByteReader& in, Palette& out);
