// What a user does to the program: keys, clicks, the mouse held down, menus, the tray popup, the
// common dialogs, the clipboard and files dropped on it.
#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "app/views/tray_popup.h"
#include "res/resource.h"
#include "session.h"

namespace {

// Types into the fields of the common dialog a button opens, found by the first, and presses OK.
std::string FillIn(const Session& s, int button, const std::string& what,
                   const std::vector<std::pair<int, std::string>>& fields) {
    PostMessageA(GetDlgItem(s.main, button), BM_CLICK, 0, 0);
    HWND dialog =
        WaitFor(s, "#32770", [&](HWND w) { return GetDlgItem(w, fields[0].first) != nullptr; });
    if (dialog == nullptr) {
        return "no " + what;
    }
    for (const auto& [id, text] : fields) {
        Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return Dismiss(dialog, IDOK, "the " + what);
}

// Opens the menu bar's Options menu (Alt+O) or the tray popup (a right click on the icon).
Step Popup(bool fromTray, char key) {
    return {[=](Session& s) -> std::string {
        PostMessageA(s.main, fromTray ? WM_TRAYNOTIFY : WM_SYSCOMMAND, fromTray ? 0 : SC_KEYMENU,
                     fromTray ? WM_RBUTTONDOWN : 'o');
        HWND popup = WaitFor(s, "#32768");
        if (popup == nullptr) {
            return "no popup menu";
        }
        RECT rect = RectOf(popup);
        POINT cursor{};
        GetCursorPos(&cursor);
        int bottom =
            GetSystemMetrics(SM_CYSCREEN) - kTrayPopupLift;  // the corner at the cursor's x
        if (fromTray && (rect.right != cursor.x || rect.bottom != bottom)) {
            return "tray popup's corner at " + Format(rect.right, rect.bottom) + ", not " +
                   Format(cursor.x, bottom);
        }
        return Choose(s, popup, std::string(1, key));
    }};
}

// A right click on a sample, then the menu items with these mnemonics.
std::string SamplesMenu(const Session& s, int sample, const std::string& keys) {
    POINT at = MiddleOf(GetDlgItem(s.main, sample));
    PostMessageA(s.main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.main), MAKELPARAM(at.x, at.y));
    HWND popup = WaitFor(s, "#32768");
    return popup == nullptr ? "no samples' menu" : Choose(s, popup, keys);
}

bool SetClipboard(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The program may hold the clipboard a moment.
    bool set = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }) && EmptyClipboard() &&
               SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
    }
    return set;
}

std::string Clipboard() {
    HGLOBAL data = OpenClipboard(nullptr) ? GetClipboardData(CF_TEXT) : nullptr;
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::string copied = text != nullptr ? text : "<no text>";
    GlobalUnlock(data);
    CloseClipboard();
    return copied;
}

}  // namespace

Step Type(const std::string& text) {
    return {[=](Session& s) {
        // Select everything and delete it, then type: the edit takes at most six characters.
        HWND edit = GetDlgItem(s.main, IDC_USER_HEX);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostMessageA(edit, WM_CHAR, VK_BACK, 1);
        if (!WaitUntil([&] { return Text(edit).empty(); })) {
            return std::string("the hex edit was not cleared");
        }
        for (char c : text) {
            PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
        // Each character is handled before the edit answers for it, so once all are there the
        // program has done what typing them does (a message box it shows answers too).
        std::size_t length = std::min<std::size_t>(text.size(), 6);
        return WaitUntil([&] { return Text(edit).size() == length; }) ? "" : "typed: " + Text(edit);
    }};
}

Step Press(int id) {
    return {[=](Session& s) {
        PostMessageA(GetDlgItem(s.main, id), BM_CLICK, 0, 0);
        return std::string();
    }};
}

Step Browse(const std::string& path) {
    return {[=](Session& s) {
        return FillIn(s, IDC_BROWSE, "open-file dialog", {{cmb13, path}});  // the name box
    }};
}

Step Pick(int red, int green, int blue) {
    return {[=](Session& s) {
        return FillIn(s, IDC_COLOURS, "colour dialog",
                      {{COLOR_RED, std::to_string(red)},
                       {COLOR_GREEN, std::to_string(green)},
                       {COLOR_BLUE, std::to_string(blue)}});
    }};
}

Step Menu(char key) {
    return Popup(false, key);
}

Step Tray(char key) {
    return Popup(true, key);
}

Step Drag(const std::vector<POINT>& to) {
    return {[=](Session& s) {
        // Wine sends moves of its own, from where the real cursor is, without the button.
        Mouse(s.main, WM_LBUTTONDOWN, MiddleOf(GetDlgItem(s.main, IDC_USER_SAMPLE)), 0);
        for (POINT at : to) {
            Mouse(s.main, WM_MOUSEMOVE, at, MK_LBUTTON);
        }
        return Capture(s.main) == s.main ? "" : "the mouse not captured";
    }};
}

Step EndPick(UINT message) {
    return {[=](Session& s) {
        if (message == WM_LBUTTONUP || message == WM_RBUTTONDOWN) {
            Mouse(s.main, message, {700, 700}, 0);
        } else {
            PostMessageA(s.main, message, message == WM_KEYDOWN ? VK_ESCAPE : 0, 1);
        }
        return WaitUntil([&] { return Capture(s.main) == nullptr; }) ? NoMagnifier().run(s)
                                                                     : "the mouse still held";
    }};
}

Step Paste(const std::string& text) {
    return {[=](Session& s) {
        if (!SetClipboard(text)) {
            return "clipboard not set";
        }
        HWND edit = GetDlgItem(s.main, IDC_USER_HEX);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostMessageA(edit, WM_PASTE, 0, 0);
        return "";
    }};
}

Step Copy(int sample, char key, const std::string& copied) {
    return {[=](Session& s) -> std::string {
        const std::string before = "<before the copy>";
        std::string failure = SetClipboard(before) ? SamplesMenu(s, sample, std::string(1, key))
                                                   : "clipboard not set";
        return !failure.empty() ? failure
                                : Expect("the clipboard", copied.empty() ? before : copied,
                                         [] { return Clipboard(); });
    }};
}

Step Recent(int sample, char key) {
    return {[=](Session& s) { return SamplesMenu(s, sample, std::string("c") + key); }};
}

// The drop's block is written into the program's memory, the only place the program can read
// it. DragFinish cannot free such a block; it goes with the process.
Step Drop(const std::string& path) {
    return {[=](Session& s) {
        HANDLE process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, s.process.dwProcessId);
        DROPFILES header{sizeof header, {}, FALSE, FALSE};
        std::string block = std::string(reinterpret_cast<const char*>(&header), sizeof header) +
                            path + std::string(2, '\0');
        void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
        bool written = WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
        CloseHandle(process);
        PostMessageA(s.main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
        return written ? "" : "no drop in the program's memory";
    }};
}
