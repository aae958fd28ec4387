#include "app/views/added_commands.h"

#include <cstring>

#include "app/app_state.h"
#include "app/input/pick_hotkey.h"
#include "res/resource.h"

namespace {

struct AddedCommand {
    UINT id;
    const char* (*text)();  // may change during the run, as a shortcut comes and goes
    bool (*checked)();      // null: never checked
};

const char* PerceptualText() {
    return "&Perceptual Matching";
}

bool PerceptualChecked() {
    return g_app.matching == MatchMode::kPerceptual;
}

// The hotkey shows beside it only while it is Tintwell's. The mnemonic is C: S already opens the
// swatch file, and two items on one key would only select in turn.
const char* PickScreenText() {
    static char text[64];
    std::strcpy(text, "Pick from S&creen");
    if (g_app.pickHotkeyHeld) {
        std::strcat(text, "\t");
        DescribeHotkey(g_app.pickHotkey, text + std::strlen(text), sizeof text - std::strlen(text));
    }
    return text;
}

const AddedCommand kAddedCommands[] = {
    {IDM_PERCEPTUAL, PerceptualText, PerceptualChecked},
    {IDM_PICK_SCREEN, PickScreenText, nullptr},
};

// Where the commands go: before the separator that precedes "&About", or at the end when the
// menu has no such separator.
UINT InsertionPoint(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 1; i < count; ++i) {
        if (GetMenuItemID(popup, i) == IDM_ABOUT &&
            (GetMenuState(popup, static_cast<UINT>(i - 1), MF_BYPOSITION) & MF_SEPARATOR)) {
            return static_cast<UINT>(i - 1);
        }
    }
    return count > 0 ? static_cast<UINT>(count) : 0;
}

void SetItem(HMENU popup, const AddedCommand& command) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE;
    item.dwTypeData = const_cast<char*>(command.text());
    item.fState = command.checked != nullptr && command.checked() ? MFS_CHECKED : MFS_UNCHECKED;
    SetMenuItemInfoA(popup, command.id, FALSE, &item);
}

}  // namespace

void InsertAddedCommands(HMENU menu) {
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        return;
    }
    UINT at = InsertionPoint(popup);
    for (const AddedCommand& command : kAddedCommands) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING;
        item.wID = command.id;
        item.dwTypeData = const_cast<char*>("");
        InsertMenuItemA(popup, at++, TRUE, &item);
        SetItem(popup, command);
    }
}

void UpdateAddedCommands(HMENU menu) {
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        return;
    }
    for (const AddedCommand& command : kAddedCommands) {
        SetItem(popup, command);
    }
}
