#pragma once

#include "swatch/formats/palette.h"

class ByteReader;

// Image editors' swatch files: a header of version and record count, the records, and in
// version 2 each record followed by its name. A version-1 file may carry a version-2 section of
// the same records with names after its plain one.
ReadOutcome ReadAco(ByteReader& in, Palette& out);
