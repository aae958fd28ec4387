// The floor for tintwell.exe's start-up time: a dialog from a template and nothing else, built
// the same way (static, stripped, the same compiler flags).
#include <windows.h>

namespace {

INT_PTR CALLBACK Floor(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, Floor, 0));
}
