#include "app/colour/match_tip.h"

#include <commctrl.h>

#include <algorithm>

#include "app/app_state.h"
#include "res/resource.h"

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
}

void DestroyMatchTip() {
    g_app.matchTip.reset();
}

namespace {

// "<name> (swatch N of M)", or "Swatch N of M" for a swatch without a name; empty for none.
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
    if (name.empty()) {
        wsprintfW(text, L"Swatch %u of %u", number, static_cast<unsigned>(count));
    } else {
        wsprintfW(text, L"%s (swatch %u of %u)", shown, number, static_cast<unsigned>(count));
    }
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
