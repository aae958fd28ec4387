#include "app/colour/recent_colours.h"

void RememberColour(COLORREF colour) {
    RecentColours& recent = g_app.recent;
    std::size_t from = 0;
    while (from < recent.count && recent.colours[from] != colour) {
        ++from;
    }
    // The colour's old place, or the end, which the limit may drop.
    if (from == recent.count && recent.count < kRecentLimit) {
        ++recent.count;
    }
    for (std::size_t i = from < kRecentLimit ? from : kRecentLimit - 1; i > 0; --i) {
        recent.colours[i] = recent.colours[i - 1];
    }
    recent.colours[0] = colour;
}

void ClearRecentColours() {
    g_app.recent = RecentColours{};
}

DWORD EncodeRecentColours(const RecentColours& recent, BYTE value[kRecentValueLimit]) {
    for (std::size_t i = 0; i < recent.count; ++i) {
        value[3 * i] = GetRValue(recent.colours[i]);
        value[3 * i + 1] = GetGValue(recent.colours[i]);
        value[3 * i + 2] = GetBValue(recent.colours[i]);
    }
    return static_cast<DWORD>(3 * recent.count);
}

RecentColours DecodeRecentColours(const BYTE* value, DWORD length) {
    RecentColours recent;
    if (value == nullptr || length % 3 != 0 || length > kRecentValueLimit) {
        return recent;
    }
    recent.count = length / 3;
    for (std::size_t i = 0; i < recent.count; ++i) {
        recent.colours[i] = RGB(value[3 * i], value[3 * i + 1], value[3 * i + 2]);
    }
    return recent;
}
