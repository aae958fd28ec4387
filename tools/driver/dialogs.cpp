// The program's windows as found: its main dialogs, the About box and its message boxes.
#include <windows.h>

#include <shellapi.h>

#include "res/resource.h"
#include "session.h"

namespace {

std::string ExpectCorner(const std::string& what, HWND window, POINT at) {
    return Expect(what + "'s corner", Format(at.x, at.y), [&] {
        RECT rect = RectOf(window);
        return Format(rect.left, rect.top);
    });
}

bool IsMain(HWND window, bool normal) {
    return Text(window) == "Tintwell" && GetDlgItem(window, IDC_USER_HEX) != nullptr &&
           (GetDlgItem(window, IDC_BROWSE) != nullptr) == normal;
}

std::string ExpectTrayIcon(const Session& s, bool shown) {
    return Expect("the Compact view's tray icon", shown ? "shown" : "gone", [&] {
        // A modify request that changes nothing: the shell accepts it only for an icon it holds.
        NOTIFYICONDATAA probe{};
        probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
        probe.hWnd = s.compact;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) ? "shown" : "gone";
    });
}

}  // namespace

Step Main(View view, POINT at) {
    return {[=](Session& s) -> std::string {
        bool normal = view == Normal;
        HWND previous = s.main;
        s.main = WaitFor(s, "#32770", [&](HWND w) { return IsMain(w, normal); });
        if (s.main == nullptr) {
            return normal ? "no Normal dialog shown" : "no Compact dialog shown";
        }
        // A view switch ends the old dialog for good; one left alive, hidden, would pile up.
        if (previous != nullptr && previous != s.main &&
            !WaitUntil([&] { return !IsWindow(previous); })) {
            return "the previous dialog still exists";
        }
        std::string failure = at.x != kAnywhere.x ? ExpectCorner("dialog", s.main, at) : "";
        // A switch away from the Compact view removes its icon while the old dialog still exists.
        s.compact = normal ? s.compact : s.main;
        return !failure.empty() || s.compact == nullptr ? failure : ExpectTrayIcon(s, !normal);
    }};
}

Step Box(const std::string& caption, const std::string& text) {
    auto answer = [=](Session& s) -> std::string {
        HWND box = WaitFor(s, "#32770", IsMessageBox);
        if (box == nullptr) {
            return "no message box for: " + text;
        }
        std::string shown = Text(box) + ": " + Text(GetDlgItem(box, kMessageText));
        return shown == caption + ": " + text ? Dismiss(box, IDOK, "the message box")
                                              : "message box " + shown;
    };
    return {answer, true};
}

Step About() {
    return {[](Session& s) -> std::string {
        s.about = WaitFor(s, "#32770", [](HWND w) { return Text(w) == "About Tintwell"; });
        if (s.about == nullptr) {
            return "no About box";
        }
        RECT main = RectOf(s.main);
        return ExpectCorner("About box", s.about,
                            Centred(main.right - main.left, main.bottom - main.top));
    }};
}

Step CloseAbout() {
    return {[](Session& s) { return Dismiss(s.about, IDC_ABOUT_CLOSE, "the About box"); }};
}

Step Keys() {
    return {[](Session& s) {
        // The dialog manager turns Escape into IDCANCEL and Enter into IDOK. Enter in the About
        // box presses its focused Close button, as it should, so only Escape goes there.
        HWND front = Front(s);
        PostMessageA(front, WM_KEYDOWN, VK_ESCAPE, 1);
        if (front == s.main) {
            PostMessageA(front, WM_KEYDOWN, VK_RETURN, 1);
        }
        // Posted input is handled in order: once the hex edit has been cleared, so have the keys.
        std::string failure = Type("").run(s);
        return !failure.empty() || (IsWindowVisible(front) && IsWindowVisible(s.main))
                   ? failure
                   : "a dialog closed";
    }};
}

Step Move(POINT to) {
    return {[=](Session& s) {
        SetWindowPos(s.main, nullptr, to.x, to.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        return ExpectCorner("dialog", s.main, to);
    }};
}

Step Close() {
    return {[](Session& s) {
        PostMessageA(s.main, WM_SYSCOMMAND, SC_CLOSE, 0);
        return std::string();
    }};
}
