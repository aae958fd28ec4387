#include "swatch/formats/palette_reader.h"

#include <string_view>

#include "swatch/byte_reader.h"
#include "swatch/formats/aco_reader.h"
#include "swatch/formats/act_reader.h"
#include "swatch/formats/ase_reader.h"
#include "swatch/formats/gpl_reader.h"

ReadOutcome ReadPalette(ByteReader& in, const char* fileName, Palette& out) {
    char start[16];
    const std::string_view head(start, in.Peek(start, sizeof start));
    if (head.substr(0, 4) == "ASEF") {
        return ReadAse(in, out);
    }
    if (IsGimpPalette(head)) {
        return ReadGpl(in, out);
    }
    if (IsColourTable(in.Size(), fileName)) {
        return ReadAct(in, out);
    }
    // Everything else, as before there were other formats.
    return ReadAco(in, out);
}
