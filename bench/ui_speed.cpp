// How fast the program answers a user with the largest swatch file, in both ways of matching:
// the hex code typed in full, and a pick's move with the magnifier redrawn. It drives the built
// tintwell.exe from outside, as the end-to-end test does; run it under Wine with the program's
// path (./dev bench does). Figures only, never a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "res/resource.h"
#include "session.h"
#include "user_session.h"

namespace {

// Times `act` `rounds` times and prints the median and the worst.
template <typename Act>
void Report(const char* what, int rounds, Act act) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QueryPerformanceCounter(&start);
        act(i);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-34s median %6.2f ms, worst %6.2f ms of %d\n", what, times[times.size() / 2],
                times.back(), rounds);
}

// The six digits arrive as one change of the hex edit, which the program answers in full (the
// colour and its match shown, the tooltip described) before the change returns.
Step TimeTyping(int rounds) {
    return {[=](Session& s) {
        HWND edit = GetDlgItem(s.main, IDC_USER_HEX);
        std::mt19937 random(3);
        Report("hex code to match", rounds, [&](int) {
            char text[8];
            std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(random() & 0xFFFFFF));
            Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        });
        return std::string();
    }};
}

// Moves between two points of a pick without a button, each read, matched and magnified.
Step TimeMoves(POINT a, POINT b, int rounds) {
    return {[=](Session& s) {
        Report("pick move (magnifier and match)", rounds, [&](int i) {
            const POINT at = i % 2 == 0 ? a : b;
            SetCursorPos(at.x, at.y);
            Mouse(s.main, WM_MOUSEMOVE, at, 0);
        });
        return Capture(s.main) == s.main ? std::string() : std::string("the pick ended");
    }};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ui_speed <path of tintwell.exe>\n");
        return 2;
    }
    ProgramPath() = argv[1];
    std::vector<Swatch> many;
    std::mt19937 random(9);
    for (int i = 0; i < 65535; ++i) {
        const unsigned value = random();
        many.push_back({0, static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                        static_cast<int>(value >> 16 & 0xFF)});
    }
    const std::string file = WriteSwatchFile("tintwell-speed\\many.aco", many).string();
    ColourPatch green(RGB(0x20, 0xA0, 0x40), {720, 100});
    ColourPatch blueGrey(RGB(0x30, 0x60, 0x90), {800, 100});
    int failures = 0;
    for (const char* mode : {"\0", "\1"}) {
        std::printf("%s, 65,535 swatches:\n", *mode ? "perceptual matching" : "channel sum");
        Store(Settings{0x01, {100, 300}, {700, 500}});
        StoreValue("Matching", REG_DWORD, std::string(mode, 1) + std::string(3, '\0'));
        const std::string failed = RunSession(
            file, {Main(Normal), TimeTyping(300), PickFromScreen(false),
                   TimeMoves({760, 140}, {840, 140}, 200), EndPick(WM_KEYDOWN), Close(), Exit()});
        if (!failed.empty()) {
            std::printf("  %s\n", failed.c_str());
            ++failures;
        }
    }
    Store(std::nullopt);
    DeleteFileA(file.c_str());
    return failures;
}
