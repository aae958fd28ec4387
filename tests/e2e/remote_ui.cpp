#include "remote_ui.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace remote {

namespace {

// A screen rectangle as 32-bit pixels (0x00RRGGBB), top row first.
std::vector<DWORD> Grab(const RECT& rect) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            const DWORD* first = static_cast<const DWORD*>(bits);
            pixels.assign(first, first + width * height);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The icon drawn as a static draws it, over a plain background.
std::vector<DWORD> Render(HICON icon, int width, int height, DWORD background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        DWORD* first = static_cast<DWORD*>(bits);
        std::fill(first, first + width * height, background);
        DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(first, first + width * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return pixels;
}

bool Near(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > 12) {
            return false;
        }
    }
    return true;
}

// Share of pixels that agree; 0 when the sizes differ.
double Agreement(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    if (a.empty() || a.size() != b.size()) {
        return 0;
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        same += Near(a[i] & 0xFFFFFF, b[i] & 0xFFFFFF) ? 1 : 0;
    }
    return static_cast<double>(same) / static_cast<double>(a.size());
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= milliseconds) {
            return false;
        }
        Sleep(10);
    }
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

Program::~Program() {
    if (info.hProcess == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, kPatience);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool Program::Start(const std::string& exe, const std::string& arguments) {
    std::string folder = exe.substr(0, exe.find_last_of("\\/"));
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // No inherited handles: the program must not hold the test's output open.
    return CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info) != 0;
}

bool Program::WaitForExit(DWORD* exitCode, DWORD milliseconds) {
    if (WaitForSingleObject(info.hProcess, milliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, kPatience);
        return false;
    }
    return GetExitCodeProcess(info.hProcess, exitCode) != 0;
}

bool Program::Running() const {
    return info.hProcess != nullptr && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {

struct WindowSearch {
    DWORD process;
    const char* windowClass;
    const std::function<bool(HWND)>* accept;
    HWND found;
};

BOOL CALLBACK TakeIfWanted(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || ClassOf(window) != search->windowClass ||
        (*search->accept && !(*search->accept)(window))) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindWindowOf(DWORD process, const char* windowClass, const std::function<bool(HWND)>& accept) {
    WindowSearch search{process, windowClass, &accept, nullptr};
    EnumWindows(TakeIfWanted, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindowOf(DWORD process, const char* windowClass,
                     const std::function<bool(HWND)>& accept) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(process, windowClass, accept)) != nullptr; });
    return found;
}

std::string Text(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (window == nullptr ||
        !SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kPatience, &copied)) {
        return "<no text>";
    }
    return std::string(text, copied);
}

void SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, kPatience, &result);
}

void TypeChars(HWND window, const std::string& text) {
    for (char c : text) {
        PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void PostCommand(HWND window, WORD id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

IconKind MessageBoxIcon(HWND box) {
    HWND icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
            break;
        }
    }
    if (icon == nullptr || !IsWindowVisible(icon)) {
        return IconKind::None;
    }
    RECT rect;
    GetWindowRect(icon, &rect);
    std::vector<DWORD> shown = Grab(rect);
    if (shown.empty()) {
        return IconKind::Other;
    }
    // The top-left pixel lies outside both icons' shapes: it is the background they are drawn on.
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    double error = Agreement(shown, Render(LoadIconA(nullptr, IDI_ERROR), width, height, shown[0]));
    double warning =
        Agreement(shown, Render(LoadIconA(nullptr, IDI_WARNING), width, height, shown[0]));
    if (error > 0.95 && error > warning) {
        return IconKind::Error;
    }
    if (warning > 0.95 && warning > error) {
        return IconKind::Warning;
    }
    return IconKind::Other;
}

bool SaveScreenRect(const RECT& rect, const std::string& path) {
    std::vector<DWORD> pixels = Grab(rect);
    if (pixels.empty()) {
        return false;
    }
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int rowSize = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + rowSize * height;
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom row first
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::vector<BYTE> row(rowSize, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            DWORD pixel = pixels[y * width + x];
            row[x * 3] = static_cast<BYTE>(pixel);
            row[x * 3 + 1] = static_cast<BYTE>(pixel >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    return std::fclose(out) == 0;
}

bool TrayKnowsIcon(HWND window, UINT id) {
    // A modify request that changes nothing: the shell accepts it only for an icon it holds.
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != 0;
}

}  // namespace remote
