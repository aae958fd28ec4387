// Times the search, the plain scan, a memcpy of the same bytes and the load, in nanoseconds per
// call, for the Windows builds (Google Benchmark is native only). Run it under Wine:
//   cmake/wine-run build/win32/wineprefix win32 build/win32/bench/swatch_speed.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "swatch/match/closest_perceptual.h"
#include "swatch/match/closest_rgb.h"
#include "swatch/match/lab.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"

namespace {

constexpr int kRounds = 15;

// The best of several rounds: the one least disturbed by other work on the machine.
template <typename Work>
double NanosecondsPerCall(int callsPerRound, Work work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int call = 0; call < callsPerRound; ++call) {
            work(call);
        }
        QueryPerformanceCounter(&end);
        best = std::min(best, static_cast<double>(end.QuadPart - start.QuadPart) * 1e9 /
                                  static_cast<double>(frequency.QuadPart) / callsPerRound);
    }
    return best;
}

}  // namespace

int main() {
    const std::string path = WriteBenchFile();
    SwatchTable table;
    table.SetFileName(path.c_str());
    const SwatchEntry* entries = nullptr;
    if (path.empty() || !table.Load() || !table.GetFirstEntry(&entries)) {
        std::fprintf(stderr, "cannot write and load the bench file\n");
        return 1;
    }
    const std::vector<COLORREF> queries = BenchQueries();
    volatile COLORREF colourSink = 0;
    volatile std::size_t indexSink = 0;

    const double search = NanosecondsPerCall(300, [&](int call) {
        colourSink = table.FindClosestColour(queries[call % queries.size()]);
    });
    const double plain = NanosecondsPerCall(300, [&](int call) {
        indexSink = FindClosestRgbPlain(entries, kBenchRecords, queries[call % queries.size()]);
    });
    const double perceptual = NanosecondsPerCall(300, [&](int call) {
        colourSink = table.FindPerceptualColour(queries[call % queries.size()], nullptr);
    });
    // About 5 ms a call natively, far more on an x87 build: a few calls a round.
    const double perceptualPlain = NanosecondsPerCall(3, [&](int call) {
        indexSink = FindClosestPerceptualPlain(entries, kBenchRecords,
                                               SrgbToLab(queries[call % queries.size()]));
    });
    PerceptualIndex index;
    const double build = NanosecondsPerCall(5, [&](int) { index.Build(entries, kBenchRecords); });
    std::vector<char> from(kBenchTableBytes, 1);
    std::vector<char> to(kBenchTableBytes);
    char* volatile destination = to.data();  // unknown to the compiler, so the copy stays whole
    const double copy = NanosecondsPerCall(
        300, [&](int) { std::memcpy(destination, from.data(), kBenchTableBytes); });
    const double load = NanosecondsPerCall(5, [&](int) { table.Load(); });
    DeleteFileA(path.c_str());
    // The largest named file: the table's load, and the names' own load beside it.
    const std::string namedPath = WriteBenchFile(true);
    SwatchTable namedTable;
    namedTable.SetFileName(namedPath.c_str());
    SwatchNames names;
    const double namedLoad = NanosecondsPerCall(5, [&](int) { namedTable.Load(); });
    const double namesLoad = NanosecondsPerCall(5, [&](int) { namedTable.Load(&names); });
    DeleteFileA(namedPath.c_str());

    // Each format's load with names, beside the swatch file's of the same colours.
    struct Format {
        const char* extension;
        int count;
        double load;
    } formats[] = {{".aco", kBenchRecords, 0},
                   {".ase", kBenchRecords, 0},
                   {".gpl", kBenchRecords, 0},
                   {".aco", 256, 0},
                   {".act", 256, 0}};
    for (Format& format : formats) {
        const std::string file = WritePaletteBenchFile(format.extension, format.count);
        SwatchTable formatTable;
        formatTable.SetFileName(file.c_str());
        format.load = NanosecondsPerCall(5, [&](int) { formatTable.Load(&names); });
        DeleteFileA(file.c_str());
    }

    std::printf("%u-bit build, best of %d rounds, ns per call\n",
                static_cast<unsigned>(sizeof(void*) * 8), kRounds);
    std::printf("FindClosestColour   %10.0f  %5.2f x memcpy\n", search, search / copy);
    std::printf("FindClosestRgbPlain %10.0f  %5.2f x memcpy\n", plain, plain / copy);
    std::printf("FindPerceptualColour%10.0f\n", perceptual);
    std::printf("  its plain scan    %10.0f\n", perceptualPlain);
    std::printf("  its index build   %10.0f  (part of Load)\n", build);
    std::printf("memcpy              %10.0f\n", copy);
    std::printf("Load                %10.0f  %5.2f x memcpy\n", load, load / copy);
    std::printf("Load, named file    %10.0f\n", namedLoad);
    std::printf("Load with names     %10.0f\n", namesLoad);
    for (const Format& format : formats) {
        std::printf("Load %s, %5d     %10.0f\n", format.extension, format.count, format.load);
    }
    return 0;
}
