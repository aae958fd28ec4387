#include "app/commands.h"

#include "app/views/about_box.h"
#include "app/colour/colour_entry.h"
#include "app/colour/user_colour.h"
#include "app/views/view_lifetime.h"
#include "app/input/screen_picker.h"
#include "app/settings.h"
#include "app/files/swatch_file_selection.h"
#include "res/resource.h"

namespace {

// A clicked push button takes the focus and with it the default-button look; the focus goes to
// the edit that belongs with the button, so the look is taken off again.
void PlainButton(HWND button) {
    SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
}

}  // namespace

// Enter and Escape arrive as IDOK and IDCANCEL: neither closes a main dialog; during a pick from
// the screen Enter keeps its colour and Escape puts back the one from before.
int OnCommand(WORD notification, WORD id) {
    const Controls& controls = g_app.controls;
    switch (id) {
    case IDC_COLOURS:
        PlainButton(controls.colours);
        SetFocus(controls.userHex);
        return PickColour();
    case IDC_BROWSE:
        PlainButton(controls.browse);
        SetFocus(controls.swatchPath);
        return SelectSwatchFile(true);
    case IDM_SWATCH_FILE:
        return SelectSwatchFile(true);
    case IDC_USER_HEX:
        return OnHexChanged(notification);
    case IDM_EXIT:
        SaveSettings();
        return TearDown();
    case IDM_SWITCH_VIEW:
        return static_cast<int>(
            SwitchView(g_app.view != ViewMode::Compact ? ViewMode::Compact : ViewMode::Normal));
    case IDM_PERCEPTUAL:
        return SwitchMatching();
    case IDM_ABOUT:
        return ShowAboutBox();
    case IDM_PICK_SCREEN:
        return StartScreenPick();
    case IDOK:
        return KeepScreenPick();
    case IDCANCEL:
        return CancelScreenPick();
    default:
        return 0;
    }
}
