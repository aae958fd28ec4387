#pragma once

#include <cstddef>

#include "swatch/swatch_table.h"

// The largest distance between two colours (sum of three channel differences); an entry this far
// away is never a result.
constexpr int kMaxColourDistance = 765;

// Position of the earliest RGB entry strictly closer to `colour` than kMaxColourDistance and at
// least as close as every other RGB entry, or `count` when there is none. Bits 24 to 31 of
// `colour` are ignored. Picks the fastest scan the processor supports.
std::size_t FindClosestRgb(const SwatchEntry* entries, std::size_t count, COLORREF colour);

// The same answer, one entry at a time: the reference the faster scan is held to.
std::size_t FindClosestRgbPlain(const SwatchEntry* entries, std::size_t count, COLORREF colour);
