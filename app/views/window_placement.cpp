#include "app/views/window_placement.h"

namespace {

// The templates' sizes in dialog units, taken as pixels for the default positions.
constexpr SIZE kNormalNominal = {200, 103};
constexpr SIZE kCompactNominal = {59, 94};

// A stored corner may lie anywhere in the 32-bit range, where adding the window's size to it
// would overflow a RECT.
struct WideRect {
    LONGLONG left, top, right, bottom;
};

struct CaptionSearch {
    WideRect caption;
    bool reachable;
};

BOOL CALLBACK FindWorkAreaUnderCaption(HMONITOR monitor, HDC /*dc*/, LPRECT /*area*/, LPARAM data) {
    auto* search = reinterpret_cast<CaptionSearch*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& work = info.rcWork;
        const WideRect& caption = search->caption;
        search->reachable = caption.left < work.right && work.left < caption.right &&
                            caption.top < work.bottom && work.top < caption.bottom;
    }
    return !search->reachable;  // on to the next monitor until one will do
}

}  // namespace

POINT CentredPosition(int screenWidth, int screenHeight, int width, int height) {
    return POINT{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

POINT DefaultPosition(ViewMode view) {
    const SIZE nominal = view != ViewMode::Compact ? kNormalNominal : kCompactNominal;
    return CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nominal.cx,
                           nominal.cy);
}

POINT ReachablePosition(HWND window, POINT stored, POINT fallback) {
    RECT frame{};
    GetWindowRect(window, &frame);
    // The caption where the window stands now; the whole window where it cannot be told.
    TITLEBARINFO title{};
    title.cbSize = sizeof title;
    const RECT band = GetTitleBarInfo(window, &title) ? title.rcTitleBar : frame;
    const LONGLONG dx = LONGLONG{stored.x} - frame.left;
    const LONGLONG dy = LONGLONG{stored.y} - frame.top;
    CaptionSearch search{{band.left + dx, band.top + dy, band.right + dx, band.bottom + dy}, false};
    EnumDisplayMonitors(nullptr, nullptr, FindWorkAreaUnderCaption,
                        reinterpret_cast<LPARAM>(&search));
    return search.reachable ? stored : fallback;
}

void PlaceMainDialog(HWND dialog, RECT* remembered, ViewMode view) {
    POINT at =
        ReachablePosition(dialog, POINT{remembered->left, remembered->top}, DefaultPosition(view));
    remembered->left = at.x;
    remembered->top = at.y;
    SetWindowPos(dialog, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void PlaceAboutBox(HWND box, HWND mainDialog) {
    RECT main{};
    GetWindowRect(mainDialog, &main);
    const POINT at = CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     main.right - main.left, main.bottom - main.top);
    SetWindowPos(box, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}
