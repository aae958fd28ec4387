#include "app/views/magnifier.h"

#include <cstring>

#include "app/app_state.h"
#include "app/colour/colour_display.h"

namespace {

constexpr char kClassName[] = "TintwellMagnifier";
constexpr int kHalf = kMagnifiedSide / 2;
// At 96 dpi: one magnified pixel, the text's height and the distance from the cursor, which
// leaves the pixels read and the crosshair clear.
constexpr int kCellAt96 = 10;
constexpr int kFontAt96 = 14;
constexpr int kGapAt96 = 24;

using UniqueDc = UniqueHandle<HDC, DeleteDC>;

// The effective DPI of a monitor where the system can tell it per monitor (Windows 8.1 on), else
// the system's.
UINT MonitorDpi(HMONITOR monitor) {
    using DpiQuery = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const DpiQuery query = [] {
        HMODULE shcore = LoadLibraryA("shcore.dll");
        FARPROC found = shcore != nullptr ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
        return reinterpret_cast<DpiQuery>(reinterpret_cast<void*>(found));
    }();
    UINT x = 0;
    UINT y = 0;
    if (query != nullptr && SUCCEEDED(query(monitor, 0, &x, &y)) && x != 0) {
        return x;
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The square of pixels around `at` from the screen; off every screen they read as black. False
// when nothing could be read.
bool ReadAround(POINT at, COLORREF* cells) {
    std::memset(cells, 0, sizeof(COLORREF) * kMagnifiedSide * kMagnifiedSide);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = kMagnifiedSide;
    format.bmiHeader.biHeight = -kMagnifiedSide;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC screen = GetDC(nullptr);
    UniqueDc memory(screen != nullptr ? CreateCompatibleDC(screen) : nullptr);
    bool read = false;
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
        read = BitBlt(memory.get(), 0, 0, kMagnifiedSide, kMagnifiedSide, screen, at.x - kHalf,
                      at.y - kHalf, SRCCOPY) != FALSE;
        GdiFlush();
        const auto* pixel = static_cast<const DWORD*>(bits);
        // A DIB holds blue in the low byte, a COLORREF red.
        for (int i = 0; i < kMagnifiedSide * kMagnifiedSide; ++i) {
            cells[i] = RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF);
        }
        SelectObject(memory.get(), old);
    }
    ReleaseDC(nullptr, screen);
    return read;
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const ScreenPick& pick = g_app.pick;
    const int cell = pick.cellSize;
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (int row = 0; row < kMagnifiedSide; ++row) {
        for (int column = 0; column < kMagnifiedSide; ++column) {
            RECT square{column * cell, row * cell, (column + 1) * cell, (row + 1) * cell};
            SetDCBrushColor(dc, pick.magnified[row * kMagnifiedSide + column]);
            FillRect(dc, &square, brush);
        }
    }
    // Black and white, so that the frame shows on any colour; the middle stays the pixel's own.
    RECT centre{kHalf * cell, kHalf * cell, (kHalf + 1) * cell, (kHalf + 1) * cell};
    FrameRect(dc, &centre, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&centre, -1, -1);
    FrameRect(dc, &centre, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    RECT client;
    GetClientRect(window, &client);
    RECT text{0, kMagnifiedSide * cell, client.right, client.bottom};
    SetDCBrushColor(dc, GetSysColor(COLOR_INFOBK));
    FillRect(dc, &text, brush);
    char lines[32] = {};
    GetWindowTextA(window, lines, sizeof lines);
    HGDIOBJ oldFont = SelectObject(dc, pick.magnifierFont.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&text, 0, -cell / 4);
    DrawTextA(dc, lines, -1, &text, DT_CENTER | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK MagnifierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_NCDESTROY:
        // Its owner, the main dialog, destroys it first when it goes.
        if (g_app.pick.magnifier.get() == window) {
            g_app.pick.magnifier.release();
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMagnifier(HWND owner) {
    WNDCLASSA type{};
    type.lpfnWndProc = MagnifierProc;
    type.hInstance = ProgramModule();
    type.hCursor = LoadCursorA(nullptr, IDC_CROSS);
    type.lpszClassName = kClassName;
    RegisterClassA(&type);  // fails harmlessly from the second pick on
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "",
                           WS_POPUP | WS_BORDER, 0, 0, 0, 0, owner, nullptr, ProgramModule(),
                           nullptr);
}

// The pixel's code and, with a file loaded, its match's: what the popup says below the pixels.
void DescribeColours(char* text) {
    FormatHexColour(g_app.userColour, text);
    if (g_app.swatchTable && g_app.swatchTable->IsLoaded()) {
        if (g_app.match.colour == SWATCH_NO_COLOUR) {
            std::strcpy(text + 6, "\nNo match");
        } else {
            std::strcpy(text + 6, "\nMatch ");
            FormatHexColour(g_app.match.colour, text + 13);
        }
    }
}

}  // namespace

POINT MagnifierPlace(POINT at, SIZE size, int gap, const RECT& monitor) {
    POINT place{at.x + gap, at.y + gap};
    if (place.x + size.cx > monitor.right) {
        place.x = at.x - gap - size.cx;
    }
    if (place.y + size.cy > monitor.bottom) {
        place.y = at.y - gap - size.cy;
    }
    // A monitor too small for either side: whole on it still, if over the cursor.
    if (place.x < monitor.left) {
        place.x = monitor.left;
    }
    if (place.y < monitor.top) {
        place.y = monitor.top;
    }
    return place;
}

COLORREF MagnifyAround(HWND owner, POINT at) {
    ScreenPick& pick = g_app.pick;
    HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) {
        return CLR_INVALID;  // off every screen there is no pixel
    }
    const int dpi = static_cast<int>(MonitorDpi(monitor));
    const int cell = MulDiv(kCellAt96, dpi, 96);
    if (cell != pick.cellSize) {
        pick.magnifierFont.reset(CreateFontA(-MulDiv(kFontAt96, dpi, 96), 0, 0, 0, FW_NORMAL, 0, 0,
                                             0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg 2"));
        pick.cellSize = cell;
    }
    if (!pick.magnifier) {
        pick.magnifier.reset(CreateMagnifier(owner));
    }
    // Moved before the read: where the cursor jumped into the popup's old place, the pixels read
    // must not be its own.
    if (pick.magnifier) {
        const bool loaded = g_app.swatchTable && g_app.swatchTable->IsLoaded();
        RECT frame{
            0, 0, kMagnifiedSide * cell,
            kMagnifiedSide * cell + (loaded ? 2 : 1) * MulDiv(kFontAt96 + 4, dpi, 96) + cell / 2};
        AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        SIZE size{frame.right - frame.left, frame.bottom - frame.top};
        POINT place = MagnifierPlace(at, size, kHalf + MulDiv(kGapAt96, dpi, 96), info.rcMonitor);
        SetWindowPos(pick.magnifier.get(), HWND_TOPMOST, place.x, place.y, size.cx, size.cy,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    if (!ReadAround(at, pick.magnified)) {
        return CLR_INVALID;
    }
    return pick.magnified[kHalf * kMagnifiedSide + kHalf];
}

void DescribeMagnified() {
    HWND window = g_app.pick.magnifier.get();
    if (window == nullptr) {
        return;
    }
    char text[32];
    DescribeColours(text);
    SetWindowTextA(window, text);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void HideMagnifier() {
    g_app.pick.magnifier.reset();
    g_app.pick.magnifierFont.reset();
    g_app.pick.cellSize = 0;
}
