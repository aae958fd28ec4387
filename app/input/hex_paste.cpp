#include "app/input/hex_paste.h"

#include <cctype>
#include <cstring>

#include "app/input/clipboard_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The six digits of a colour written in one of the accepted forms, into `digits` (7 bytes);
// false for any other text.
bool CleanPastedColour(const char* text, char* digits) {
    std::size_t end = std::strlen(text);
    while (end > 0 && IsBlank(text[end - 1])) {
        --end;
    }
    std::size_t start = 0;
    while (start < end && IsBlank(text[start])) {
        ++start;
    }
    if (start < end && text[start] == '#') {
        ++start;
    } else if (end - start > 2 && text[start] == '0' && (text[start + 1] | 0x20) == 'x') {
        start += 2;
    }
    if (end - start != 6) {
        return false;
    }
    for (std::size_t i = 0; i < 6; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[start + i]))) {
            return false;
        }
        digits[i] = text[start + i];
    }
    digits[6] = '\0';
    return true;
}

bool PasteColour(HWND edit) {
    char text[64];
    char digits[8];
    if (!ReadClipboardText(edit, text, sizeof text) || !CleanPastedColour(text, digits)) {
        return false;
    }
    // The whole text is replaced, so the edit's change notification reads the colour as typed.
    SetWindowTextA(edit, digits);
    return true;
}

// The edit's own procedure is kept in its user data, which the edit class leaves alone.
LRESULT CALLBACK HexEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && PasteColour(edit)) {
        return 0;
    }
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

}  // namespace

void AcceptPastedColours(HWND edit) {
    if (edit != nullptr) {
        SetWindowLongPtrA(
            edit, GWLP_USERDATA,
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HexEditProc)));
    }
}
