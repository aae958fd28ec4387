#include "app/colour/colour_display.h"

#include <new>

#include "app/app_state.h"
#include "app/colour/colour_brushes.h"
#include "res/resource.h"
#include "swatch/swatch_table.h"

namespace {

constexpr COLORREF kRedChip = RGB(204, 0, 0);
constexpr COLORREF kGreenChip = RGB(0, 204, 0);
constexpr COLORREF kBlueChip = RGB(0, 0, 204);

struct ControlSlot {
    int id;
    HWND Controls::*handle;
};

// Every control the program addresses; Browse is taken by the Normal view's set-up.
constexpr ControlSlot kControlSlots[] = {
    {IDC_SWATCH_PATH, &Controls::swatchPath},
    {IDC_COLOURS, &Controls::colours},
    {IDC_USER_HEX, &Controls::userHex},
    {IDC_USER_SAMPLE, &Controls::userSample},
    {IDC_USER_RED, &Controls::userRed},
    {IDC_USER_GREEN, &Controls::userGreen},
    {IDC_USER_BLUE, &Controls::userBlue},
    {IDC_USER_RED_CHIP, &Controls::userRedChip},
    {IDC_USER_GREEN_CHIP, &Controls::userGreenChip},
    {IDC_USER_BLUE_CHIP, &Controls::userBlueChip},
    {IDC_MATCH_HEX, &Controls::matchHex},
    {IDC_MATCH_SAMPLE, &Controls::matchSample},
    {IDC_MATCH_RED, &Controls::matchRed},
    {IDC_MATCH_GREEN, &Controls::matchGreen},
    {IDC_MATCH_BLUE, &Controls::matchBlue},
    {IDC_MATCH_RED_CHIP, &Controls::matchRedChip},
    {IDC_MATCH_GREEN_CHIP, &Controls::matchGreenChip},
    {IDC_MATCH_BLUE_CHIP, &Controls::matchBlueChip},
};

void SetNumber(HWND control, unsigned value) {
    char text[16];
    wsprintfA(text, "%d", static_cast<int>(value));
    SetWindowTextA(control, text);
}

void ShowColour(COLORREF colour, HWND red, HWND green, HWND blue, HWND hex, HWND sample) {
    SetNumber(red, GetRValue(colour));
    SetNumber(green, GetGValue(colour));
    SetNumber(blue, GetBValue(colour));
    char text[8];
    FormatHexColour(colour, text);
    SetWindowTextA(hex, text);
    InvalidateRect(sample, nullptr, TRUE);
}

// The program's own rewrite of the hex edit: the change notification it sends is not the user
// typing.
class HexEchoGuard {
  public:
    HexEchoGuard() { g_app.ignoreHexChange = true; }
    ~HexEchoGuard() { g_app.ignoreHexChange = false; }
    HexEchoGuard(const HexEchoGuard&) = delete;
    HexEchoGuard& operator=(const HexEchoGuard&) = delete;
};

ColourBrushes* BrushesOf(HWND dialog) {
    return reinterpret_cast<ColourBrushes*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

}  // namespace

void FormatHexColour(COLORREF colour, char* text) {
    wsprintfA(text, "%.2X%.2X%.2X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

int WireControls() {
    Controls& controls = g_app.controls;
    controls = Controls{};
    for (const ControlSlot& slot : kControlSlots) {
        controls.*slot.handle = GetDlgItem(g_app.mainWindow, slot.id);
    }
    // The templates' "UCol" and "SCol" are placeholders; the samples are plain colour.
    SetWindowTextA(controls.userSample, "");
    SetWindowTextA(controls.matchSample, "");
    SendMessageA(controls.userHex, EM_LIMITTEXT, 6, 0);
    return 1;
}

int ShowUserColour(COLORREF colour) {
    const Controls& c = g_app.controls;
    g_app.userColour = colour;
    const HexEchoGuard guard;
    ShowColour(colour, c.userRed, c.userGreen, c.userBlue, c.userHex, c.userSample);
    return 1;
}

int ShowMatchedColour(COLORREF colour) {
    const Controls& c = g_app.controls;
    g_app.match.colour = colour;
    ShowColour(colour, c.matchRed, c.matchGreen, c.matchBlue, c.matchHex, c.matchSample);
    return 1;
}

void AttachColourBrushes(HWND dialog) {
    // Without brushes the statics keep the system's colours; nothing else depends on them.
    SetWindowLongPtrA(dialog, DWLP_USER,
                      reinterpret_cast<LONG_PTR>(new (std::nothrow) ColourBrushes));
}

void ReleaseColourBrushes(HWND dialog) {
    delete BrushesOf(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

HBRUSH OnCtlColorStatic(HWND dialog, HWND control, HDC dc) {
    const Controls& c = g_app.controls;
    ColourBrushes::Slot slot;
    COLORREF colour;
    if (control == c.userRedChip || control == c.matchRedChip) {
        slot = ColourBrushes::RedChip;
        colour = kRedChip;
    } else if (control == c.userGreenChip || control == c.matchGreenChip) {
        slot = ColourBrushes::GreenChip;
        colour = kGreenChip;
    } else if (control == c.userBlueChip || control == c.matchBlueChip) {
        slot = ColourBrushes::BlueChip;
        colour = kBlueChip;
    } else if (control == c.userSample) {
        slot = ColourBrushes::UserSample;
        colour = g_app.userColour;
    } else if (control == c.matchSample) {
        slot = ColourBrushes::MatchSample;
        // "No match" is not a colour: the sample then shows the dialog's own background.
        colour = g_app.match.colour == SWATCH_NO_COLOUR ? GetSysColor(COLOR_BTNFACE)
                                                        : g_app.match.colour;
    } else {
        return nullptr;
    }
    ColourBrushes* brushes = BrushesOf(dialog);
    if (brushes == nullptr) {
        return nullptr;
    }
    SetBkColor(dc, colour);
    return brushes->Get(slot, colour);
}
