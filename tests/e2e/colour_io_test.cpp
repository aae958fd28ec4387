// Colours in and out of Tintwell, from outside: picks from the screen over windows of known
// colours, paste into the hex edit, copy from the samples' menu, and files dropped on the dialog.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "res/resource.h"
#include "user_session.h"

namespace {

const char kMarker[] = "not a colour";
const std::string kNone = "255 255 255 FFFFFF", kBlueGrey = "48 96 144 306090",
                  kBlueGreyMatch = "51 102 153 336699", kOrange = "240 112 16 F07010",
                  kOrangeMatch = "250 120 10 FA780A";

// A window of the test's own, of one colour, on top and never active, at x, 600.
struct Patch {
    Patch(COLORREF colour, int x) : brush(CreateSolidBrush(colour)), middle{x + 40, 640} {
        std::string name = "patch" + std::to_string(colour);
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hbrBackground = brush;
        type.lpszClassName = name.c_str();
        RegisterClassA(&type);
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, name.c_str(), "",
                                 WS_POPUP | WS_VISIBLE, x, 600, 80, 80, nullptr, nullptr, nullptr,
                                 nullptr);
        // Wine puts a painted window on the screen once its thread looks at its queue.
        shown = Eventually([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&message);
            }
            HDC screen = GetDC(nullptr);
            COLORREF pixel = GetPixel(screen, middle.x, middle.y);
            ReleaseDC(nullptr, screen);
            return pixel == colour;
        });
    }
    ~Patch() {
        DestroyWindow(window);
        DeleteObject(brush);
    }
    HBRUSH brush;
    POINT middle;
    HWND window;
    bool shown;
};

POINT MiddleOf(HWND main, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(main, id), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND Capture(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndCapture;
}

// A mouse message as the user's mouse would make it over that point of the screen, handled
// before the call returns; the left button is held for moves. (Wine sends moves of its own,
// from where the real cursor is, without the button.)
void Mouse(HWND main, UINT message, POINT at) {
    ScreenToClient(main, &at);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                        MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 5000, &result);
}

// The left button pressed on the user's sample, then moves to each point.
Step Drag(std::vector<POINT> points) {
    return OnMain([=](HWND main) {
        Mouse(main, WM_LBUTTONDOWN, MiddleOf(main, IDC_USER_SAMPLE));
        for (POINT at : points) {
            Mouse(main, WM_MOUSEMOVE, at);
        }
        return Capture(main) == main ? "" : "the mouse not captured";
    });
}

// The pick ends by the left button's release or the right button (here), or Escape.
Step End(UINT message) {
    return OnMain([=](HWND main) {
        if (message == WM_KEYDOWN) {
            PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            Mouse(main, message, {700, 700});
        }
        return Eventually([&] { return Capture(main) == nullptr; }) ? "" : "the mouse still held";
    });
}

// Moves that each change both colours, to and fro between two points.
Step TimedMoves(POINT a, POINT b) {
    return OnMain([=](HWND main) {
        constexpr int kMoves = 400;
        DWORD start = GetTickCount();
        for (int i = 0; i < kMoves; ++i) {
            Mouse(main, WM_MOUSEMOVE, i % 2 ? b : a);
        }
        std::printf("%.3f ms per pick move\n", (GetTickCount() - start) / double{kMoves});
        return "";
    });
}

bool SetClipboard(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The program may hold the clipboard a moment.
    bool set = Eventually([] { return OpenClipboard(nullptr) != FALSE; }) && EmptyClipboard() &&
               SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
    }
    return set;
}

std::string Clipboard() {
    HGLOBAL data = OpenClipboard(nullptr) ? GetClipboardData(CF_TEXT) : nullptr;
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::string copied = text != nullptr ? text : "<no text>";
    GlobalUnlock(data);
    CloseClipboard();
    return copied;
}

// Everything in the hex edit selected, then the text pasted over it.
Step Paste(const std::string& text) {
    return OnMain([=](HWND main) {
        if (!SetClipboard(text)) {
            return "clipboard not set";
        }
        HWND edit = GetDlgItem(main, IDC_USER_HEX);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostMessageA(edit, WM_PASTE, 0, 0);
        return "";
    });
}

// A right click on a sample, then the menu item with that mnemonic, then Escape for a menu that
// is still open; the clipboard then holds `expected`.
Step Copy(int sample, char key, const std::string& expected) {
    return OnMain([=](HWND main) -> std::string {
        POINT at = MiddleOf(main, sample);
        HWND popup = nullptr;
        if (!SetClipboard(kMarker) ||
            !PostMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main),
                          MAKELPARAM(at.x, at.y)) ||
            !Eventually([&] { return IsWindowVisible(popup = FindWindowA("#32768", nullptr)); })) {
            return "no copy menu";
        }
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        std::string copied;
        return Eventually(
                   [&] { return !IsWindowVisible(popup) && (copied = Clipboard()) == expected; })
                   ? ""
                   : "copied \"" + copied + "\", not \"" + expected + "\"";
    });
}

// A drop as Explorer posts it, its block written into the program's memory, the only place the
// program can read it. DragFinish cannot free such a block; it goes with the process.
Step Drop(const std::string& path) {
    return OnMain([=](HWND main) {
        DWORD id = 0;
        GetWindowThreadProcessId(main, &id);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
        DROPFILES header{sizeof header, {}, FALSE, FALSE};
        std::string block = std::string(reinterpret_cast<const char*>(&header), sizeof header) +
                            path + std::string(2, '\0');
        void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
        bool written = WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
        CloseHandle(process);
        PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
        return written ? "" : "no drop in the program's memory";
    });
}

TEST(Tintwell, TakesAndGivesColours) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "tintwell-colour-io\\";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    // 336699 and FA780A, then 808080, as RGB records of a version-1 file.
    const std::string web = folder + "web.aco", grey = folder + "grey.aco";
    std::ofstream(web, std::ios::binary) << std::string(
        "\0\1\0\2\0\0\x33\x33\x66\x66\x99\x99\0\0"
        "\0\0\xFA\xFA\x78\x78\x0A\x0A\0\0",
        24);
    std::ofstream(grey, std::ios::binary)
        << std::string("\0\1\0\1\0\0\x80\x80\x80\x80\x80\x80\0\0", 14);
    const char kNotOpened[] =
        "Tintwell failed to load the file.\n"
        "The file could not be opened. Check the path and that you may read the file.";

    Patch blueGrey(RGB(0x30, 0x60, 0x90), 600);
    Patch orange(RGB(0xF0, 0x70, 0x10), 700);
    ASSERT_TRUE(blueGrey.shown && orange.shown);
    // clang-format off
    const std::vector<Step> compactNoFile = {
        Main(Compact),
        // Ends over the test's window: the colour stays, nothing matches, no box.
        Drag({blueGrey.middle}), Shows(kBlueGrey, kNone), End(WM_LBUTTONUP), Shows(kBlueGrey, kNone),
        Copy(IDC_MATCH_SAMPLE, 'r', kMarker), Copy(IDC_USER_SAMPLE, 'r', "306090"),
        Drop(web), Type("f07010"), Shows(kOrange, kOrangeMatch), Close(), Exit()};
    const std::vector<Step> normal = {
        Main(Normal), Path(web),
        Drag({blueGrey.middle, orange.middle}), Shows(kOrange, kOrangeMatch), End(WM_LBUTTONUP),
        Drag({blueGrey.middle}), Shows(kBlueGrey, kBlueGreyMatch), End(WM_KEYDOWN),
        Shows(kOrange, kOrangeMatch), Keys(),
        Drag({blueGrey.middle}), Shows(kBlueGrey, kBlueGreyMatch), End(WM_RBUTTONDOWN),
        Shows(kOrange, kOrangeMatch),
        Drag({}), TimedMoves(blueGrey.middle, orange.middle), Shows(kOrange, kOrangeMatch),
        End(WM_LBUTTONUP),
        Paste("#306090\r\n"), Shows(kBlueGrey, kBlueGreyMatch),
        Paste(" \t0XF07010 "), Shows(kOrange, kOrangeMatch),
        Paste("4a90d9"), Shows("74 144 217 4A90D9", kBlueGreyMatch),
        Copy(IDC_USER_SAMPLE, 'r', "4A90D9"), Copy(IDC_USER_SAMPLE, '#', "#4A90D9"),
        Copy(IDC_USER_SAMPLE, 'd', "74, 144, 217"), Copy(IDC_MATCH_SAMPLE, 'd', "51, 102, 153"),
        // Not a colour: pasted as before, cut at six characters, refused as typing is.
        Paste("#12GG00"),
        Box("Tintwell Error", "Please enter a valid hexadecimal number or click\n"
                              "Colours to choose one from the whole spectrum."),
        Shows("74 144 217 #12GG0", kBlueGreyMatch),
        Drop(folder + "missing.aco"),
        Box("Tintwell", "Tintwell failed to load the file.\nThe file could not be found."),
        Drop(folder + std::string(600, 'a') + ".aco"), Box("Tintwell", kNotOpened), Path(web),
        Drop(grey), Path(grey), Type("7f7f7f"), Shows("127 127 127 7F7F7F", "128 128 128 808080"),
        Close(), Exit()};
    // clang-format on
    ASSERT_TRUE(Store(std::nullopt));
    EXPECT_EQ(RunSession(ProgramPath(), "", compactNoFile), "") << "Compact, no file";
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    EXPECT_EQ(RunSession(ProgramPath(), web, normal), "") << "Normal";
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
