#include "app/views/window_placement.h"

namespace {

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
