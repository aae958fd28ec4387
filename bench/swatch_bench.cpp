#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "swatch/match/closest_perceptual.h"
#include "swatch/match/closest_rgb.h"
#include "swatch/match/lab.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"

namespace {

std::string g_path;       // the swatch file every benchmark reads
std::string g_namedPath;  // the same with a named section, for the loads

void BM_Load(benchmark::State& state) {
    SwatchTable table;
    table.SetFileName(g_path.c_str());
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Load());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBenchTableBytes));
}
BENCHMARK(BM_Load);

// The table's load of the largest named file, without and with its names.
void BM_LoadNamedTable(benchmark::State& state) {
    SwatchTable table;
    table.SetFileName(g_namedPath.c_str());
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Load());
    }
}
BENCHMARK(BM_LoadNamedTable);

void BM_LoadNamedTableWithNames(benchmark::State& state) {
    SwatchTable table;
    table.SetFileName(g_namedPath.c_str());
    SwatchNames names;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Load(&names));
        benchmark::DoNotOptimize(names.Name(kBenchRecords - 1).size());
    }
}
BENCHMARK(BM_LoadNamedTableWithNames);

// The load, names included, of `count` colours in each format; for ".act" at most 256.
void BM_LoadFormat(benchmark::State& state, const char* extension, int count) {
    const std::string path = WritePaletteBenchFile(extension, count);
    SwatchTable table;
    table.SetFileName(path.c_str());
    SwatchNames names;
    if (path.empty() || !table.Load(&names) || table.GetCount() != count) {
        state.SkipWithError("the bench file did not load");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Load(&names));
    }
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_LoadFormat, aco, ".aco", kBenchRecords);
BENCHMARK_CAPTURE(BM_LoadFormat, ase, ".ase", kBenchRecords);
BENCHMARK_CAPTURE(BM_LoadFormat, gpl, ".gpl", kBenchRecords);
BENCHMARK_CAPTURE(BM_LoadFormat, aco_256, ".aco", 256);
BENCHMARK_CAPTURE(BM_LoadFormat, act_256, ".act", 256);

// Times `search(entries, colour)` over the loaded bench file, one query colour after another.
template <typename Search>
void TimeSearch(benchmark::State& state, Search search) {
    SwatchTable table;
    table.SetFileName(g_path.c_str());
    const SwatchEntry* entries = nullptr;
    if (!table.Load() || table.GetStatus() != 0 || !table.GetFirstEntry(&entries)) {
        state.SkipWithError("the bench file did not load");
        return;
    }
    const std::vector<COLORREF> queries = BenchQueries();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(search(table, entries, queries[next++ % queries.size()]));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBenchTableBytes));
}

void BM_FindClosestColour(benchmark::State& state) {
    TimeSearch(state, [](SwatchTable& table, const SwatchEntry*, COLORREF colour) {
        return table.FindClosestColour(colour);
    });
}
BENCHMARK(BM_FindClosestColour);

// The one-entry-at-a-time scan, to show what the faster one gains.
void BM_FindClosestRgbPlain(benchmark::State& state) {
    TimeSearch(state, [](SwatchTable&, const SwatchEntry* entries, COLORREF colour) {
        return FindClosestRgbPlain(entries, kBenchRecords, colour);
    });
}
BENCHMARK(BM_FindClosestRgbPlain);

// Perceptual matching: the index the table builds at load, against a plain CIEDE2000 scan.
void BM_FindPerceptualColour(benchmark::State& state) {
    TimeSearch(state, [](SwatchTable& table, const SwatchEntry*, COLORREF colour) {
        return table.FindPerceptualColour(colour, nullptr);
    });
}
BENCHMARK(BM_FindPerceptualColour);

void BM_FindClosestPerceptualPlain(benchmark::State& state) {
    TimeSearch(state, [](SwatchTable&, const SwatchEntry* entries, COLORREF colour) {
        return FindClosestPerceptualPlain(entries, kBenchRecords, SrgbToLab(colour));
    });
}
BENCHMARK(BM_FindClosestPerceptualPlain);

// What a load spends on the index alone.
void BM_BuildPerceptualIndex(benchmark::State& state) {
    SwatchTable table;
    table.SetFileName(g_path.c_str());
    const SwatchEntry* entries = nullptr;
    if (!table.Load() || !table.GetFirstEntry(&entries)) {
        state.SkipWithError("the bench file did not load");
        return;
    }
    PerceptualIndex index;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Build(entries, kBenchRecords));
    }
}
BENCHMARK(BM_BuildPerceptualIndex);

// The floor the search is measured against: the same bytes merely copied.
void BM_Memcpy(benchmark::State& state) {
    std::vector<char> from(kBenchTableBytes, 1);
    std::vector<char> to(kBenchTableBytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(from.data());
        benchmark::DoNotOptimize(to.data());
        std::memcpy(to.data(), from.data(), kBenchTableBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBenchTableBytes));
}
BENCHMARK(BM_Memcpy);

// The console report, keeping each benchmark's time per iteration for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                nanoseconds_[run.run_name.function_name] =
                    run.GetAdjustedRealTime() * 1e9 /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    void PrintRatios() const {
        const auto floor = nanoseconds_.find("BM_Memcpy");
        if (floor == nanoseconds_.end()) {
            return;
        }
        for (const auto& [name, nanoseconds] : nanoseconds_) {
            if (name != floor->first) {
                std::printf("%-24s %5.2f x BM_Memcpy\n", name.c_str(), nanoseconds / floor->second);
            }
        }
    }

  private:
    std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    g_path = WriteBenchFile();
    g_namedPath = WriteBenchFile(true);
    if (g_path.empty() || g_namedPath.empty()) {
        std::fprintf(stderr, "cannot write the bench file\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    std::filesystem::remove(g_path);
    std::filesystem::remove(g_namedPath);
    benchmark::Shutdown();
    return 0;
}
