#include "swatch/formats/palette_reader.h"

#include "swatch/formats/aco_reader.h"

ReadOutcome ReadPalette(ByteReader& in, Palette& out) {
    return ReadAco(in, out);
}
