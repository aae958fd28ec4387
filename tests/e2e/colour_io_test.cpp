// Colours in and out of Tintwell, from outside: picks from the screen over windows of known
// colours, paste into the hex edit, copy from the samples' menu, and files dropped on the dialog.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "res/resource.h"
#include "user_session.h"

namespace {

constexpr COLORREF kBlueGrey = RGB(0x30, 0x60, 0x90);  // closest: 336699
constexpr COLORREF kOrange = RGB(0xF0, 0x70, 0x10);    // closest: FA780A
const char kMarker[] = "not a colour";
const char kHexError[] =
    "Please enter a valid hexadecimal number or click\n"
    "Colours to choose one from the whole spectrum.";
const char kNotFound[] = "Tintwell failed to load the file.\nThe file could not be found.";
const char kNotOpened[] =
    "Tintwell failed to load the file.\n"
    "The file could not be opened. Check the path and that you may read the file.";

std::string Shown(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, "%d %d %d %02X%02X%02X", GetRValue(c), GetGValue(c),
                  GetBValue(c), GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// A top-level window of one colour beside the program's, painted once and never activated.
struct Patch {
    Patch(COLORREF colour, int x) : brush(CreateSolidBrush(colour)), middle{x + 40, 640} {
        std::string name = "patch" + std::to_string(colour);
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hbrBackground = brush;
        type.lpszClassName = name.c_str();
        RegisterClassA(&type);
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, name.c_str(),
                                 "", WS_POPUP | WS_VISIBLE, x, 600, 80, 80, nullptr, nullptr,
                                 nullptr, nullptr);
        UpdateWindow(window);
        // Wine puts the painted window on the screen when its thread next looks at its queue.
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

LPARAM ClientPoint(HWND main, POINT screen) {
    ScreenToClient(main, &screen);
    return MAKELPARAM(screen.x, screen.y);
}

HWND Capture(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndCapture;
}

Step Press() {
    return OnMain([](HWND main) -> std::string {
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON,
                     ClientPoint(main, MiddleOf(main, IDC_USER_SAMPLE)));
        return Eventually([&] { return Capture(main) == main; }) ? "" : "the mouse not captured";
    });
}

// Where the mouse goes while the button is held: a point of the screen, or, given `inDialog`, a
// point of the dialog's own face.
Step Drag(POINT to, bool inDialog = false) {
    return OnMain([=](HWND main) {
        POINT at = to;
        if (inDialog) {
            ClientToScreen(main, &at);
        }
        PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(main, at));
        return std::string();
    });
}

// The pick ends by the left button's release, the right button or Escape.
Step End(UINT message) {
    return OnMain([=](HWND main) {
        bool escape = message == WM_KEYDOWN;
        PostMessageA(main, message, escape ? VK_ESCAPE : 0, escape ? 1 : 0);
        return Eventually([&] { return Capture(main) == nullptr; }) ? "" : "the mouse still held";
    });
}

// Moves that each change both colours, to and fro between the patches, then one onto the
// dialog's face, which shows only once all are handled; `Timed` prints the time per move.
constexpr int kMoves = 400;

Step Speed(POINT a, POINT b, std::shared_ptr<DWORD> start) {
    return OnMain([=](HWND main) {
        *start = GetTickCount();
        for (int i = 0; i < kMoves; ++i) {
            PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(main, i % 2 ? b : a));
        }
        POINT face = {2, 2};
        ClientToScreen(main, &face);
        PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(main, face));
        return std::string();
    });
}

Step Timed(std::shared_ptr<DWORD> start) {
    return OnMain([=](HWND) {
        std::printf("%.3f ms per pick move\n", (GetTickCount() - *start) / (kMoves + 1.0));
        return std::string();
    });
}

bool SetClipboard(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The program may hold the clipboard a moment.
    bool set = Eventually([&] { return OpenClipboard(nullptr) != FALSE; }) && EmptyClipboard() &&
               SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
    }
    return set;
}

std::string Clipboard() {
    std::string text = "<no text>";
    if (OpenClipboard(nullptr)) {
        HGLOBAL data = GetClipboardData(CF_TEXT);
        const char* chars = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        if (chars != nullptr) {
            text = chars;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// Everything in the hex edit selected, then the text pasted over it.
Step Paste(const std::string& text) {
    return OnMain([=](HWND main) -> std::string {
        if (!SetClipboard(text)) {
            return "clipboard not set";
        }
        HWND edit = GetDlgItem(main, IDC_USER_HEX);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostMessageA(edit, WM_PASTE, 0, 0);
        return std::string();
    });
}

// A right click on a sample, then the menu item with this mnemonic, then Escape for a menu that
// stayed open; the clipboard then holds `expected`.
Step Copy(int sample, char key, const std::string& expected) {
    return OnMain([=](HWND main) -> std::string {
        if (!SetClipboard(kMarker)) {
            return "clipboard not set";
        }
        POINT at = MiddleOf(main, sample);
        PostMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main), MAKELPARAM(at.x, at.y));
        HWND popup = nullptr;
        if (!Eventually([&] { return IsWindowVisible(popup = FindWindowA("#32768", nullptr)); })) {
            return "no copy menu";
        }
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        if (!Eventually([&] { return !IsWindowVisible(popup); })) {
            return "the copy menu stayed open";
        }
        std::string copied;
        return Eventually([&] { return (copied = Clipboard()) == expected; })
                   ? ""
                   : "copied \"" + copied + "\", not \"" + expected + "\"";
    });
}

// A drop as Explorer makes it, built in the program's own memory: a drop's block is only
// readable in the process that receives it. The program frees a drop with DragFinish, which
// cannot free this block; it goes with the process.
Step Drop(const std::string& path) {
    return OnMain([=](HWND main) -> std::string {
        DWORD id = 0;
        GetWindowThreadProcessId(main, &id);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
        DROPFILES header{};
        header.pFiles = sizeof header;
        std::string block(reinterpret_cast<const char*>(&header), sizeof header);
        block += path + std::string(2, '\0');
        void* remote = process != nullptr ? VirtualAllocEx(process, nullptr, block.size(),
                                                           MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                                          : nullptr;
        bool written = remote != nullptr &&
                       WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
        if (process != nullptr) {
            CloseHandle(process);
        }
        if (!written) {
            return "no drop built in the program";
        }
        PostMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
        return std::string();
    });
}

std::string SwatchFile(std::initializer_list<COLORREF> colours) {
    std::string bytes = {0, 1, 0, static_cast<char>(colours.size())};
    for (COLORREF c : colours) {
        bytes += {0, 0};
        for (BYTE channel : {GetRValue(c), GetGValue(c), GetBValue(c), BYTE{0}}) {
            bytes.append(2, static_cast<char>(channel));
        }
    }
    return bytes;
}

TEST(Tintwell, TakesAndGivesColours) {
    ASSERT_FALSE(ProgramUnderTest().empty());
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "tintwell-colour-io\\";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
    const std::string web = folder + "web.aco";
    const std::string grey = folder + "grey.aco";
    std::ofstream(web, std::ios::binary)
        << SwatchFile({RGB(51, 102, 153), RGB(250, 120, 10), faceColour});
    std::ofstream(grey, std::ios::binary) << SwatchFile({RGB(128, 128, 128)});
    const std::string tooLong = folder + std::string(600, 'a') + ".aco";

    Patch blueGrey(kBlueGrey, 600);
    Patch orange(kOrange, 700);
    ASSERT_TRUE(blueGrey.shown && orange.shown);
    const std::string face = Shown(faceColour);
    const std::string none = "255 255 255 FFFFFF";
    const std::string blueGreyMatch = "51 102 153 336699";
    const std::string orangeMatch = "250 120 10 FA780A";
    const Settings normal = {0x01, {100, 60}, {700, 500}};
    auto start = std::make_shared<DWORD>(0);
    // clang-format off
    const std::vector<Step> compactNoFile = {
        Main(Compact),
        // Ends over the other program's window: the colour stays, nothing matches, no box.
        Press(), Drag(blueGrey.middle), Shows(Shown(kBlueGrey), none), End(WM_LBUTTONUP),
        Shows(Shown(kBlueGrey), none),
        Copy(IDC_MATCH_SAMPLE, 'r', kMarker), Copy(IDC_USER_SAMPLE, 'r', "306090"),
        Drop(web), Type("f07010"), Shows(Shown(kOrange), orangeMatch),
        Close(), Exit()};
    const std::vector<Step> normalPicks = {
        Main(Normal),
        Press(), Drag(orange.middle), Shows(Shown(kOrange), orangeMatch),
        Drag({2, 2}, true), Shows(face, face), End(WM_LBUTTONUP), Shows(face, face),
        Press(), Drag(blueGrey.middle), Shows(Shown(kBlueGrey), blueGreyMatch),
        End(WM_KEYDOWN), Shows(face, face), Keys(),
        Press(), Drag(orange.middle), Shows(Shown(kOrange), orangeMatch),
        End(WM_RBUTTONDOWN), Shows(face, face),
        Press(), Drag(orange.middle), Shows(Shown(kOrange), orangeMatch),
        Speed(blueGrey.middle, orange.middle, start), Shows(face, face), Timed(start),
        End(WM_LBUTTONUP),
        Close(), Exit()};
    const std::vector<Step> normalPasteCopyDrop = {
        Main(Normal), Path(web),
        Paste("#306090\r\n"), Shows(Shown(kBlueGrey), blueGreyMatch),
        Paste(" \t0XF07010 "), Shows(Shown(kOrange), orangeMatch),
        Paste("4a90d9"), Shows("74 144 217 4A90D9", blueGreyMatch),
        Copy(IDC_USER_SAMPLE, 'r', "4A90D9"), Copy(IDC_USER_SAMPLE, '#', "#4A90D9"),
        Copy(IDC_USER_SAMPLE, 'd', "74, 144, 217"), Copy(IDC_MATCH_SAMPLE, 'd', "51, 102, 153"),
        // Not a colour: pasted as before, cut at six characters, refused as typing is.
        Paste("#12GG00"), Box("Tintwell Error", kHexError), Shows("74 144 217 #12GG0", blueGreyMatch),
        Drop(folder + "missing.aco"), Box("Tintwell", kNotFound), Path(web),
        Drop(tooLong), Box("Tintwell", kNotOpened), Path(web),
        Drop(grey), Path(grey), Type("7f7f7f"), Shows("127 127 127 7F7F7F", "128 128 128 808080"),
        Close(), Exit()};
    // clang-format on
    ASSERT_TRUE(Store(std::nullopt));
    EXPECT_EQ(RunSession(ProgramUnderTest(), "", compactNoFile), "") << "Compact, no file";
    ASSERT_TRUE(Store(normal));
    EXPECT_EQ(RunSession(ProgramUnderTest(), web, normalPicks), "") << "Normal, picks";
    EXPECT_EQ(RunSession(ProgramUnderTest(), web, normalPasteCopyDrop), "") << "paste, copy, drop";
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
