// Shows Tintwell at work without anyone at the keyboard, by the end-to-end test's own driver:
//   tintwell_tour demo EXE SWATCHES PICTURE.bmp      a colour entered, a picture of the window
//   tintwell_tour screenshots EXE SWATCHES FOLDER    the pictures of the README
// SWATCHES is passed to tintwell.exe as its command line; it runs in its own folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/views/tray_popup.h"
#include "session.h"

namespace {

// A sky blue that no web-safe colour equals, and the web-safe colour closest to it.
const char kColour[] = "4a90d9";
const char kShown[] = "74 144 217 4A90D9";
const char kMatched[] = "51 153 204 3399CC";

// A rectangle of the screen as a 24-bit BMP file; a bottom-up DIB section's rows are the file's.
bool SavePicture(const RECT& rect, const std::string& path) {
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    DWORD size = ((width * 3 + 3) & ~3) * height;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, size, 0, 0, 0, 0};
    DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
    BITMAPFILEHEADER file{0x4D42 /* "BM" */, offset + size, 0, 0, offset};
    char* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool saved = bitmap != nullptr &&
                 BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) &&
                 GdiFlush();
    if (saved) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&header), sizeof header);
        saved = out.write(bits, size).flush().good();
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

// A picture of the window in front, as a BMP file.
Step Snap(const std::string& file) {
    return {[=](Session& s) {
        // Activated anew: Wine paints a dialog that took the focus while still hidden with an
        // inactive caption.
        HWND window = Front(s);
        for (HWND w : {GetDesktopWindow(), window}) {
            SetForegroundWindow(w);
            Sleep(300);
        }
        return window != nullptr && SavePicture(RectOf(window), file) ? "" : "no picture taken";
    }};
}

// The pointer goes to rest on the tray icon, at the right end of the taskbar, then the tray popup
// opens beside it; the dialog, the popup and the tray go into a picture before the item is chosen.
Step TrayPicture(char key, const std::string& file) {
    return {[=](Session& s) -> std::string {
        RECT taskbar;
        if (GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar)) {
            SetCursorPos(taskbar.right - GetSystemMetrics(SM_CXSMICON) / 2 - 2,
                         (taskbar.top + taskbar.bottom) / 2);
        }
        HWND dialog = Front(s);
        PostMessageA(dialog, WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
        HWND popup = WaitFor(s, "#32768");
        if (popup == nullptr) {
            return "no tray popup";
        }
        Sleep(200);  // the popup's items are drawn after it shows
        RECT menu = RectOf(popup), main = RectOf(dialog);
        RECT shot = {std::min(menu.left, main.left) - 8, std::min(menu.top, main.top) - 8,
                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        bool saved = SavePicture(shot, file);
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        return saved ? "" : "no picture taken";
    }};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tintwell_tour demo|screenshots EXE SWATCHES OUTPUT\n");
        return 2;
    }
    ProgramPath() = WindowsPath(argv[2]);
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
                      TrayPicture('x', folder + "compact.bmp"), Exit()});
    }
    std::string failure = RunSession(std::string(argv[3]), steps);
    if (!failure.empty()) {
        std::fprintf(stderr, "tintwell_tour: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
