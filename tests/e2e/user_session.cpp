#include "user_session.h"

#include <algorithm>
#include <cstdio>

#include "res/resource.h"

namespace {

using remote::IconKind;
using Bytes = std::vector<BYTE>;

constexpr char kKeyPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell";
constexpr char kBackupPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell, kept aside by a test";
constexpr UINT kTrayNotify = WM_USER + 261;  // the tray icon's callback message
constexpr int kFileNameBox = 0x047C;         // cmb13: the open-file dialog's file name box
constexpr int kOldFileNameBox = 0x0480;      // edt1, in dialogs without the combo box
constexpr int kColourRed = 706;              // the colour dialog's red, green and blue edits

bool IsMainDialog(HWND window) {
    return IsWindowVisible(window) && GetDlgItem(window, IDC_USER_HEX) != nullptr;
}

// The program's message boxes carry its name as their caption; so do its main dialogs, which
// have the hex edit.
bool IsProgramMessageBox(HWND window) {
    std::string caption = remote::Text(window);
    return (caption == "Tintwell" || caption == "Tintwell Error") &&
           GetDlgItem(window, IDC_USER_HEX) == nullptr;
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SamePlace(HWND window, POINT at) {
    RECT rect = RectOf(window);
    return rect.left == at.x && rect.top == at.y;
}

std::string Where(HWND window) {
    RECT rect = RectOf(window);
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")";
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char byte[4];
    for (BYTE b : bytes) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

// Waits until `shown` gives `expected`; the answer names what was shown instead.
std::string Expect(const std::string& what, const std::string& expected,
                   const std::function<std::string()>& shown) {
    std::string last;
    if (remote::WaitUntil([&] { return (last = shown()) == expected; })) {
        return "";
    }
    return what + ": expected \"" + expected + "\", shown \"" + last + "\"";
}

// The notification area: the right end of the taskbar, where the program's icon is the only one.
RECT TrayIconArea() {
    RECT area{};
    if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) {
        GetWindowRect(taskbar, &area);
        area.left = area.right - 2 * GetSystemMetrics(SM_CXSMICON);
    }
    return area;
}

bool SaveAround(const RECT& first, const RECT& second, const std::string& file) {
    RECT both;
    UnionRect(&both, &first, &second);
    InflateRect(&both, 8, 8);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&both, &both, &screen);
    return remote::SaveScreenRect(both, file);
}

bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool CopyKey(const char* from, const char* to) {
    HKEY source, target;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, from, 0, KEY_READ, &source) != ERROR_SUCCESS) {
        return false;
    }
    bool copied = RegCreateKeyExA(HKEY_LOCAL_MACHINE, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &target, nullptr) == ERROR_SUCCESS;
    if (copied) {
        copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
        RegCloseKey(target);
    }
    RegCloseKey(source);
    return copied;
}

}  // namespace

std::string Session::Run(const Step& step, bool boxNext) {
    std::string failure = Do(step);
    if (failure.empty() && !boxNext && program.Running()) {
        if (HWND box = Find("#32770", IsProgramMessageBox)) {
            failure = "unexpected message box: " + remote::Text(GetDlgItem(box, 0xFFFF));
        }
    }
    return failure;
}

std::string Session::RunAll(const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        bool boxNext = i + 1 < steps.size() && steps[i + 1].op == Op::Box;
        std::string failure = Run(steps[i], boxNext);
        if (!failure.empty()) {
            return "step " + std::to_string(i + 1) + ": " + failure;
        }
    }
    return "";
}

HWND Session::Find(const char* windowClass, const std::function<bool(HWND)>& accept) {
    return remote::FindWindowOf(program.Id(), windowClass, accept);
}

HWND Session::WaitFor(const char* windowClass, const std::function<bool(HWND)>& accept) {
    return remote::WaitForWindowOf(program.Id(), windowClass, accept);
}

std::string Session::Row(int red, int green, int blue, int hex) const {
    return remote::Text(Control(red)) + " " + remote::Text(Control(green)) + " " +
           remote::Text(Control(blue)) + " " + remote::Text(Control(hex));
}

std::string Session::Type(const std::string& text) {
    HWND edit = Control(IDC_USER_HEX);
    // Select everything and delete it, then type: the edit takes at most six characters.
    PostMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    if (!remote::WaitUntil([&] { return remote::Text(edit).empty(); })) {
        return "the hex edit was not cleared";
    }
    remote::TypeChars(edit, text);
    // Each character is handled before the edit answers for it, so once all are there the
    // program has done what typing them does (a message box it shows answers too).
    std::size_t length = std::min<std::size_t>(text.size(), 6);
    if (!remote::WaitUntil([&] { return remote::Text(edit).size() == length; })) {
        return "the typing did not arrive: " + remote::Text(edit);
    }
    return "";
}

std::string Session::AnswerBox(const Step& step) {
    HWND box =
        WaitFor("#32770", [](HWND w) { return IsWindowVisible(w) && IsProgramMessageBox(w); });
    if (box == nullptr) {
        return "no message box for: " + step.texts[1];
    }
    std::string caption = remote::Text(box);
    std::string text = remote::Text(GetDlgItem(box, 0xFFFF));
    IconKind icon = IconKind::None;
    // The icon is read from the screen, so the box must have been painted.
    remote::WaitUntil([&] { return (icon = remote::MessageBoxIcon(box)) == step.icon; }, 2000);
    remote::Click(GetDlgItem(box, IDOK));
    if (!remote::WaitUntil([&] { return !IsWindow(box); })) {
        return "the message box did not close";
    }
    if (caption != step.texts[0] || text != step.texts[1]) {
        return "message box \"" + caption + "\": \"" + text + "\"";
    }
    if (icon != step.icon) {
        const char* names[] = {"none", "error", "warning", "another"};
        return std::string("message box icon: ") + names[static_cast<int>(icon)] + ", expected " +
               names[static_cast<int>(step.icon)];
    }
    return "";
}

// Opens the menu bar's Options menu or the tray popup, then picks the item by its mnemonic, as a
// keyboard user would.
std::string Session::ChooseFromPopup(const Step& step) {
    bool fromTray = step.op == Op::Tray;
    if (fromTray) {
        PostMessageA(main, kTrayNotify, 0, WM_RBUTTONDOWN);
    } else {
        PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 'o');
    }
    HWND popup = WaitFor("#32768", IsWindowVisible);
    if (popup == nullptr) {
        return "no popup menu";
    }
    RECT rect = RectOf(popup);
    POINT cursor{};
    GetCursorPos(&cursor);
    // The tray popup's corner sits at the cursor's x, a fixed 28 pixels above the screen's end.
    if (fromTray && (rect.right != cursor.x || rect.bottom != GetSystemMetrics(SM_CYSCREEN) - 28)) {
        return "tray popup's bottom-right corner at (" + std::to_string(rect.right) + ", " +
               std::to_string(rect.bottom) + ")";
    }
    if (!step.texts[1].empty()) {
        Sleep(200);  // the popup's items are drawn after it shows
        RECT around = RectOf(main);
        if (fromTray) {
            RECT icon = TrayIconArea();
            UnionRect(&around, &around, &icon);
        }
        if (!SaveAround(around, rect, step.texts[1])) {
            return "no picture taken";
        }
    }
    PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(step.texts[0][0]), 1);
    if (!remote::WaitUntil([&] { return !IsWindowVisible(popup); })) {
        return "the popup menu stayed open";
    }
    return "";
}

std::string Session::Do(const Step& step) {
    switch (step.op) {
    case Op::Main: {
        bool normal = step.texts[0] == "Normal";
        HWND found = WaitFor("#32770", [&](HWND w) {
            return IsMainDialog(w) && (GetDlgItem(w, IDC_BROWSE) != nullptr) == normal;
        });
        if (found == nullptr) {
            return "no " + step.texts[0] + " dialog shown";
        }
        if (remote::Text(found) != "Tintwell") {
            return "main dialog titled " + remote::Text(found);
        }
        if (main != nullptr && IsWindowVisible(main)) {
            return "the previous dialog is still shown";
        }
        main = found;
        if (step.at.x != kAnywhere.x && !SamePlace(main, step.at)) {
            return "dialog at " + Where(main);
        }
        // The Compact view keeps an icon in the notification area; a switch away removes it
        // while the old dialog still exists.
        if (!normal && !remote::TrayKnowsIcon(main, 0)) {
            return "no tray icon with the Compact view";
        }
        if (normal && compact != nullptr && remote::TrayKnowsIcon(compact, 0)) {
            return "the tray icon outlived the Compact view";
        }
        if (!normal) {
            compact = main;
        }
        return "";
    }
    case Op::Shows: {
        std::string failure = Expect("user's colour", step.texts[0], [&] {
            return Row(IDC_USER_RED, IDC_USER_GREEN, IDC_USER_BLUE, IDC_USER_HEX);
        });
        if (!failure.empty()) {
            return failure;
        }
        return Expect("matched colour", step.texts[1], [&] {
            return Row(IDC_MATCH_RED, IDC_MATCH_GREEN, IDC_MATCH_BLUE, IDC_MATCH_HEX);
        });
    }
    case Op::Path:
        return Expect("path", step.texts[0],
                      [&] { return remote::Text(Control(IDC_SWATCH_PATH)); });
    case Op::Type:
        return Type(step.texts[0]);
    case Op::Box:
        return AnswerBox(step);
    case Op::Press:
        remote::Click(Control(step.at.x));
        return "";
    case Op::FileDialog: {
        HWND dialog = WaitFor("#32770", [](HWND w) {
            return IsWindowVisible(w) && (GetDlgItem(w, kFileNameBox) != nullptr ||
                                          GetDlgItem(w, kOldFileNameBox) != nullptr);
        });
        if (dialog == nullptr) {
            return "no open-file dialog";
        }
        HWND name = GetDlgItem(dialog, kFileNameBox);
        remote::SetText(name != nullptr ? name : GetDlgItem(dialog, kOldFileNameBox),
                        step.texts[0]);
        remote::Click(GetDlgItem(dialog, IDOK));
        if (!remote::WaitUntil([&] { return !IsWindow(dialog); })) {
            return "the open-file dialog did not take " + step.texts[0];
        }
        return "";
    }
    case Op::ColourDialog: {
        HWND dialog = WaitFor("#32770", [](HWND w) {
            return IsWindowVisible(w) && GetDlgItem(w, kColourRed) != nullptr;
        });
        if (dialog == nullptr) {
            return "no colour dialog";
        }
        for (int i = 0; i < 3; ++i) {
            remote::SetText(GetDlgItem(dialog, kColourRed + i), step.texts[i]);
        }
        remote::Click(GetDlgItem(dialog, IDOK));
        if (!remote::WaitUntil([&] { return !IsWindow(dialog); })) {
            return "the colour dialog did not close";
        }
        return "";
    }
    case Op::Menu:
    case Op::Tray:
        return ChooseFromPopup(step);
    case Op::About: {
        about = WaitFor("#32770", [](HWND w) {
            return IsWindowVisible(w) && remote::Text(w) == "About Tintwell";
        });
        if (about == nullptr) {
            return "no About box";
        }
        // Its corner goes where the main dialog's would be if that dialog were centred.
        RECT mainRect = RectOf(main);
        POINT centred = {(GetSystemMetrics(SM_CXSCREEN) - (mainRect.right - mainRect.left)) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - (mainRect.bottom - mainRect.top)) / 2};
        if (!SamePlace(about, centred)) {
            return "About box at " + Where(about);
        }
        std::string terms = remote::Text(GetDlgItem(about, IDC_ABOUT_TERMS));
        std::size_t gap = terms.find("\r\n\r\n");
        if (gap == std::string::npos || terms.find("\r\n\r\n", gap + 4) == std::string::npos) {
            return "terms not in three paragraphs: " + terms;
        }
        return "";
    }
    case Op::CloseAbout:
        remote::Click(GetDlgItem(about, IDC_ABOUT_CLOSE));
        if (!remote::WaitUntil([&] { return !IsWindow(about); })) {
            return "the About box stayed open";
        }
        return IsWindowVisible(main) ? "" : "the main dialog went with the About box";
    case Op::Move:
        SetWindowPos(main, nullptr, step.at.x, step.at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        return remote::WaitUntil([&] { return SamePlace(main, step.at); })
                   ? ""
                   : "the dialog did not move";
    case Op::Close:
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        return "";
    case Op::Keys: {
        // The dialog manager turns Escape into IDCANCEL and Enter into IDOK. In the About box
        // Enter would press its focused Close button, as it should, so only Escape goes there.
        HWND front = about != nullptr && IsWindowVisible(about) ? about : main;
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            if (key == VK_ESCAPE || front == main) {
                PostMessageA(front, WM_KEYDOWN, key, 1);
                PostMessageA(front, WM_KEYUP, key, 0xC0000001);
            }
        }
        // Posted input is handled in order: once the hex edit has been cleared, so have the keys.
        std::string failure = Type("");
        if (failure.empty() && !(IsWindowVisible(front) && IsWindowVisible(main))) {
            failure = "a key closed a dialog";
        }
        return failure;
    }
    case Op::Exit: {
        DWORD code = 0;
        if (!program.WaitForExit(&code)) {
            return "the program did not end";
        }
        if (code != 0) {
            return "exit code " + std::to_string(code);
        }
        if (compact != nullptr && remote::TrayKnowsIcon(compact, 0)) {
            return "the tray icon outlived the program";
        }
        return "";
    }
    case Op::Stored: {
        Bytes options = StoredValue("Options");
        Bytes normal = StoredValue("LastNormalPos");
        Bytes compactPos = StoredValue("LastCompactPos");
        if (options != Bytes{static_cast<BYTE>(step.texts[0][0])} || normal != Position(step.at) ||
            compactPos != Position(step.at2)) {
            return "stored Options " + Hex(options) + "| LastNormalPos " + Hex(normal) +
                   "| LastCompactPos " + Hex(compactPos);
        }
        return "";
    }
    case Op::Snap: {
        HWND window = step.texts[0] == "about" ? about : main;
        // In front, with an active caption: activated anew, since Wine paints a dialog that took
        // the focus while still hidden with an inactive one.
        SetForegroundWindow(GetDesktopWindow());
        remote::WaitUntil([&] { return GetForegroundWindow() != window; }, 1000);
        Sleep(200);
        SetForegroundWindow(window);
        remote::WaitUntil([&] { return GetForegroundWindow() == window; }, 1000);
        Sleep(200);  // what the last step changed is painted
        return remote::SaveScreenRect(RectOf(window), step.texts[1]) ? "" : "no picture taken";
    }
    }
    return "unknown step";
}

Bytes Position(POINT at) {
    Bytes value;
    for (LONG coordinate : {at.y, at.x}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            value.push_back(static_cast<BYTE>(static_cast<DWORD>(coordinate) >> shift));
        }
    }
    return value;
}

Bytes StoredValue(const char* name) {
    BYTE data[64];
    DWORD length = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kKeyPath, name, RRF_RT_ANY, nullptr, data, &length) !=
        ERROR_SUCCESS) {
        return {};
    }
    return Bytes(data, data + length);
}

bool Store(const Settings& settings) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::pair<const char*, Bytes> values[] = {{"Options", {settings.options}},
                                                    {"LastNormalPos", Position(settings.normal)},
                                                    {"LastCompactPos", Position(settings.compact)}};
    bool stored = true;
    for (const auto& [name, data] : values) {
        stored &= RegSetValueExA(key, name, 0, REG_BINARY, data.data(),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return stored;
}

// A copy left by an interrupted run is the original: it is kept, not overwritten.
SettingsKeeper::SettingsKeeper()
    : saved(KeyExists(kBackupPath) || CopyKey(kKeyPath, kBackupPath)) {}

SettingsKeeper::~SettingsKeeper() {
    Forget();
    if (saved && CopyKey(kBackupPath, kKeyPath)) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupPath);
    }
}

void SettingsKeeper::Forget() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKeyPath);
}
