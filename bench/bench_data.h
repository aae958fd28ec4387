#pragma once

#include <string>
#include <vector>

#include "swatch/swatch_table.h"

constexpr int kBenchRecords = 65535;
constexpr std::size_t kBenchTableBytes = kBenchRecords * sizeof(SwatchEntry);

// Writes a swatch file of kBenchRecords random RGB records to the temporary directory and gives
// its path, or an empty text if it cannot be written. With random colours a search meets a close
// match early and then rarely finds a closer one, as with real files.
// With `named`, the records are followed, as image editors write them, by the same records with
// a name each ("Swatch colour 12345", 20 units with its zero).
std::string WriteBenchFile(bool named = false);

// Colours to search for, taken in turn.
std::vector<COLORREF> BenchQueries();
