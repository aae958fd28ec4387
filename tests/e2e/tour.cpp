// Shows Tintwell at work without anyone at the keyboard, by the end-to-end test's own driver:
//   tintwell_tour demo EXE SWATCHES PICTURE.bmp      a colour entered, a picture of the window
//   tintwell_tour screenshots EXE SWATCHES FOLDER    the pictures of the README
// SWATCHES is passed to tintwell.exe as its command line; it runs in its own folder. The
// program's settings are put back as they were afterwards.
#include <windows.h>

#include <cstdio>
#include <string>

#include "user_session.h"

namespace {

// A sky blue that no web-safe colour equals, and the web-safe colour closest to it.
const char kColour[] = "4a90d9";
const char kShown[] = "74 144 217 4A90D9";
const char kMatched[] = "51 153 204 3399CC";

POINT Centred(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

// The pointer rests on the tray icon, at the right end of the taskbar, so that the popup opens
// beside it.
void PointAtTray() {
    RECT taskbar;
    if (GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar)) {
        SetCursorPos(taskbar.right - GetSystemMetrics(SM_CXSMICON) / 2 - 2,
                     (taskbar.top + taskbar.bottom) / 2);
    }
}

int Report(const std::string& failure) {
    if (!failure.empty()) {
        std::fprintf(stderr, "tintwell_tour: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tintwell_tour demo|screenshots EXE SWATCHES OUTPUT\n");
        return 2;
    }
    std::string mode = argv[1];
    std::string exe = remote::WindowsPath(argv[2]);
    std::string output = remote::WindowsPath(argv[4]);
    SettingsKeeper keeper;
    Store({0x01, Centred(360, 220), {880, 440}});
    Session session;
    if (!session.Start(exe, argv[3])) {
        return Report("cannot start " + exe);
    }
    std::vector<Step> entry = {Main(Normal), Type(kColour), Shows(kShown, kMatched)};
    if (mode == "demo") {
        entry.insert(entry.end(), {SnapMain(output), Menu('x'), Exit()});
        return Report(session.RunAll(entry));
    }
    std::string folder = output + "\\";
    entry.insert(entry.end(), {SnapMain(folder + "normal.bmp"), Menu('a'), About(),
                               SnapAbout(folder + "about.bmp"), CloseAbout(), Menu('v'),
                               Main(Compact), Shows(kShown, kMatched)});
    std::string failure = session.RunAll(entry);
    if (failure.empty()) {
        PointAtTray();
        failure = session.RunAll({Tray('x', folder + "compact.bmp"), Exit()});
    }
    return Report(failure);
}
