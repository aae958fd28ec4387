#include "app/colour/match_tip.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "app/app_state.h"
#include "res/resource.h"
#include "swatch/match/stored_colour_text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "names go to the wide API unchanged");

namespace {

// Only the members of the first tooltip versions: every comctl32 accepts this size.
TTTOOLINFOW MatchTool() {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = g_app.mainWindow;
    tool.uId = IDC_MATCH_SAMPLE;
    tool.lpszText = g_app.matchTipText;
    return tool;
}

}  // namespace

void CreateMatchTip(HWND dialog) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    g_app.matchTip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                                         nullptr, ProgramModule(), nullptr));
    if (!g_app.matchTip) {
        return;  // the match simply goes unexplained
    }
    // The sample lets the mouse through to the dialog, so the tool is the sample's place on the
    // dialog, whose mouse messages the tooltip watches.
    TTTOOLINFOW tool = MatchTool();
    tool.uFlags = TTF_SUBCLASS;
    GetWindowRect(g_app.controls.matchSample, &tool.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&tool.rect), 2);
    SendMessageW(g_app.matchTip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A width makes the tooltip break its text at line ends; this one is wider than any first
    // line, which stays on one line as before.
    SendMessageW(g_app.matchTip.get(), TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
}

void DestroyMatchTip() {
    g_app.matchTip.reset();
}

namespace {

// "ΔE 2.3" from the user's colour to the match, and for a swatch not stored in RGB its colour in
// the file's own terms: "ΔE 1.8 · Lab 35.00 -5.20 -57.10".
void DescribeDifference(const SwatchTable& table, std::size_t position, wchar_t* out) {
    const double difference = table.DeltaE(g_app.userColour, position);
    if (difference < 0) {
        out[0] = L'\0';
        return;
    }
    const auto tenths = static_cast<unsigned>(difference * 10 + 0.5);
    int length = wsprintfW(out, L"\n\u0394E %u.%u", tenths / 10, tenths % 10);
    char stored[kStoredColourSize];
    const SwatchEntry* entry = table.EntryAt(position);
    if (entry != nullptr && DescribeStoredColour(*entry, stored, sizeof stored) != 0) {
        length += wsprintfW(out + length, L" \u00B7 ");
        MultiByteToWideChar(CP_UTF8, 0, stored, -1, out + length, kStoredColourSize);
    }
}

// "<name> (swatch N of M)", or "Swatch N of M" for a swatch without a name, then the difference
// on a line of its own; empty for none.
void DescribeMatch(std::size_t position) {
    wchar_t* text = g_app.matchTipText;
    const std::size_t count = g_app.swatchTable ? g_app.swatchTable->GetCount() : 0;
    if (position >= count) {
        text[0] = L'\0';
        return;
    }
    const std::u16string_view name = g_app.swatchNames.Name(position);
    wchar_t shown[SwatchNames::kMaxUnits + 1] = {};
    std::copy(name.begin(), name.end(), shown);
    const unsigned number = static_cast<unsigned>(position + 1);
    int length;
    if (name.empty()) {
        length = wsprintfW(text, L"Swatch %u of %u", number, static_cast<unsigned>(count));
    } else {
        length =
            wsprintfW(text, L"%s (swatch %u of %u)", shown, number, static_cast<unsigned>(count));
    }
    DescribeDifference(*g_app.swatchTable, position, text + length);
}

}  // namespace

void ShowMatchTip(const Match& match) {
    DescribeMatch(match.position);
    HWND tip = g_app.matchTip.get();
    if (tip == nullptr) {
        return;
    }
    TTTOOLINFOW tool = MatchTool();
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_ACTIVATE, g_app.matchTipText[0] != L'\0', 0);
}
