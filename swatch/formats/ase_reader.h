#pragma once

#include "swatch/formats/palette.h"

class ByteReader;

// Swatch exchange files: "ASEF", a version, a block count, then blocks of a type and a length:
// colours (a name, a model, its values as floats, a kind) and the starts and ends of groups.
ReadOutcome ReadAse(ByteReader& in, Palette& out);
