// Shows Tintwell at work without anyone at the keyboard, by the end-to-end test's own driver:
//   tintwell_tour demo EXE SWATCHES PICTURE.bmp      a colour entered, a picture of the window
//   tintwell_tour screenshots EXE SWATCHES FOLDER    the pictures of the README
// SWATCHES is passed to tintwell.exe as its command line; it runs in its own folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include "user_session.h"

namespace {

// A sky blue that no web-safe colour equals, and the web-safe colour closest to it.
const char kColour[] = "4a90d9";
const char kShown[] = "74 144 217 4A90D9";
const char kMatched[] = "51 153 204 3399CC";

// The pointer goes to rest on the tray icon, at the right end of the taskbar, so that the popup
// opens beside it.
Step PointAtTray() {
    return {[](Session&) {
        RECT taskbar;
        if (GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar)) {
            SetCursorPos(taskbar.right - GetSystemMetrics(SM_CXSMICON) / 2 - 2,
                         (taskbar.top + taskbar.bottom) / 2);
        }
        return std::string();
    }};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tintwell_tour demo|screenshots EXE SWATCHES OUTPUT\n");
        return 2;
    }
    std::string exe = WindowsPath(argv[2]);
    std::string output = WindowsPath(argv[4]);
    Store(Settings{0x01, Centred(360, 220), {880, 440}});
    std::vector<Step> steps = {Main(Normal), Type(kColour), Shows(kShown, kMatched)};
    if (std::string(argv[1]) == "demo") {
        steps.insert(steps.end(), {Snap(output), Menu('x'), Exit()});
    } else {
        std::string folder = output + "\\";
        steps.insert(steps.end(),
                     {Snap(folder + "normal.bmp"), Menu('a'), About(), Snap(folder + "about.bmp"),
                      CloseAbout(), Menu('v'), Main(Compact), Shows(kShown, kMatched),
                      PointAtTray(), Tray('x', folder + "compact.bmp"), Exit()});
    }
    std::string failure = RunSession(exe, argv[3], steps);
    if (!failure.empty()) {
        std::fprintf(stderr, "tintwell_tour: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
