// What a user waits for, measured from outside:
//   tintwell_measure TINTWELL.EXE FLOOR.EXE
// Start-up: from CreateProcess to the main dialog shown, ten times, interleaved with the same for
// a program that shows a dialog and nothing else (the floor). Keystroke to match: from the sixth
// hex digit typed to its match shown, with a swatch file of 65,535 colours.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"
#include "user_session.h"

namespace {

constexpr int kRuns = 10;
constexpr int kColours = 65535;

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Polls without sleeping, so that the time is read the moment the condition holds.
bool SpinUntil(const std::function<bool()>& condition, double milliseconds) {
    double end = Milliseconds() + milliseconds;
    while (!condition()) {
        if (Milliseconds() > end) {
            return false;
        }
    }
    return true;
}

void Print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double median = (times[kRuns / 2 - 1] + times[kRuns / 2]) / 2;
    std::printf("%-44s median %7.1f ms  (%.1f to %.1f)\n", what, median, times.front(),
                times.back());
}

HWND ShownDialog(const remote::Program& program) {
    return remote::FindWindowOf(program.Id(), "#32770", IsWindowVisible);
}

double StartUp(const std::string& exe) {
    remote::Program program;
    double start = Milliseconds();
    HWND dialog = nullptr;
    if (!program.Start(exe, "") ||
        !SpinUntil([&] { return (dialog = ShownDialog(program)) != nullptr; }, 10000)) {
        std::fprintf(stderr, "no dialog from %s\n", exe.c_str());
        std::exit(1);
    }
    double shown = Milliseconds() - start;
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code;
    program.WaitForExit(&code);
    return shown;
}

struct Rgb {
    int red, green, blue;
};

// The search's answer, worked out here: the first colour with the smallest channel distance.
std::string Closest(const std::vector<Rgb>& colours, Rgb target) {
    int best = 765;
    Rgb found{};
    for (const Rgb& c : colours) {
        int distance = std::abs(c.red - target.red) + std::abs(c.green - target.green) +
                       std::abs(c.blue - target.blue);
        if (distance < best) {
            best = distance;
            found = c;
        }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", found.red, found.green, found.blue);
    return hex;
}

std::vector<double> KeystrokeToMatch(const std::string& exe) {
    std::vector<Rgb> colours;
    std::vector<BYTE> file = {0, 1, kColours >> 8, kColours & 0xFF};
    unsigned seed = 12345;
    for (int i = 0; i < kColours; ++i) {
        seed = seed * 1103515245 + 12345;
        Rgb c = {static_cast<int>(seed >> 24), static_cast<int>(seed >> 16 & 0xFF),
                 static_cast<int>(seed >> 8 & 0xFF)};
        colours.push_back(c);
        BYTE record[10] = {0,
                           0,
                           static_cast<BYTE>(c.red),
                           0,
                           static_cast<BYTE>(c.green),
                           0,
                           static_cast<BYTE>(c.blue),
                           0,
                           0,
                           0};
        file.insert(file.end(), record, record + sizeof record);
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "tintwell-65535.aco";
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);

    std::vector<double> times;
    remote::Program program;
    HWND dialog = nullptr;
    program.Start(exe, path);
    remote::WaitUntil([&] { return (dialog = ShownDialog(program)) != nullptr; });
    HWND edit = GetDlgItem(dialog, IDC_USER_HEX);
    HWND match = GetDlgItem(dialog, IDC_MATCH_HEX);
    for (int run = 0; run < kRuns && edit != nullptr; ++run) {
        Rgb target = {run * 25, 255 - run * 20, 128 + run * 7};
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02x%02x%02x", target.red, target.green, target.blue);
        std::string expected = Closest(colours, target);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        remote::TypeChars(edit, std::string(hex, 5));
        remote::WaitUntil([&] { return remote::Text(edit).size() == 5; });
        double start = Milliseconds();
        remote::TypeChars(edit, hex + 5);
        if (!SpinUntil([&] { return remote::Text(match) == expected; }, 5000)) {
            std::fprintf(stderr, "match %s, expected %s\n", remote::Text(match).c_str(),
                         expected.c_str());
            std::exit(1);
        }
        times.push_back(Milliseconds() - start);
    }
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code;
    program.WaitForExit(&code);
    DeleteFileA(path.c_str());
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tintwell_measure TINTWELL.EXE FLOOR.EXE\n");
        return 2;
    }
    std::string tintwell = remote::WindowsPath(argv[1]);
    std::string floor = remote::WindowsPath(argv[2]);
    SettingsKeeper keeper;
    Store({0x01, {100, 100}, {100, 100}});
    std::vector<double> program, minimal;
    for (int run = 0; run < kRuns; ++run) {
        program.push_back(StartUp(tintwell));
        minimal.push_back(StartUp(floor));
    }
    Print("start-up to dialog shown, tintwell.exe", program);
    Print("start-up to dialog shown, minimal dialog", minimal);
    Print("keystroke to match, 65,535 colours", KeystrokeToMatch(tintwell));
    return 0;
}
