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

// The same kind of file in another format: `count` random RGB colours, each named "Swatch colour
// 12345" where the format holds names, as a swatch file of both parts (".aco"), an exchange file
// (".ase"), a GIMP palette (".gpl") or a colour table (".act", which holds 256 at most and no
// names). Gives its path, or an empty text if it cannot be written.
std::string WritePaletteBenchFile(const std::string& extension, int count);

// Colours to search for, taken in turn.
std::vector<COLORREF> BenchQueries();
