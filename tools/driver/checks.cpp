// What the program shows: texts of the main dialog, pixels painted on the screen, the tooltip.
#include "res/resource.h"
#include "session.h"

namespace {

std::string Texts(const Session& s, std::initializer_list<int> ids) {
    std::string shown;
    for (int id : ids) {
        shown += (shown.empty() ? "" : " ") + Text(GetDlgItem(s.main, id));
    }
    return shown;
}

// The tooltip's text, or nothing while none shows.
std::string ShownTip(const Session& s) {
    HWND tip = WaitFor(s, "tooltips_class32", nullptr, 0);
    std::string text = tip != nullptr ? Text(tip) : "";
    return tip == nullptr ? "" : !text.empty() ? text : "<empty tooltip>";
}

}  // namespace

Step Shows(const std::string& user, const std::string& match) {
    return {[=](Session& s) {
        return Expect("the user's colour, then the match", user + " " + match, [&] {
            return Texts(s, {IDC_USER_RED, IDC_USER_GREEN, IDC_USER_BLUE, IDC_USER_HEX,
                             IDC_MATCH_RED, IDC_MATCH_GREEN, IDC_MATCH_BLUE, IDC_MATCH_HEX});
        });
    }};
}

Step Path(const std::filesystem::path& path) {
    return {[=](Session& s) {
        return Expect("path", path.u8string(), [&] { return Texts(s, {IDC_SWATCH_PATH}); });
    }};
}

Step Painted(COLORREF user, COLORREF match) {
    return {[=](Session& s) {
        return Expect("the samples' middle pixels", Hex(user) + " " + Hex(match), [&] {
            return Hex(PixelAt(MiddleOf(GetDlgItem(s.main, IDC_USER_SAMPLE)))) + " " +
                   Hex(PixelAt(MiddleOf(GetDlgItem(s.main, IDC_MATCH_SAMPLE))));
        });
    }};
}

Step Tip(const std::string& text) {
    return {[=](Session& s) -> std::string {
        // The mouse leaves for the user's sample, posted, as the moves of the real mouse merge
        // while they wait; then it comes to rest on the matched sample, one pixel beside where it
        // rested before, or merged with the last move it would be no move at all.
        RECT away = RectOf(GetDlgItem(s.main, IDC_USER_SAMPLE));
        MapWindowPoints(nullptr, s.main, reinterpret_cast<POINT*>(&away), 2);
        PostMessageA(s.main, WM_MOUSEMOVE, 0, MAKELPARAM(away.left + 1, away.top + 1));
        if (!WaitUntil([&] { return ShownTip(s).empty(); })) {
            return "a tooltip stayed: " + ShownTip(s);
        }
        POINT middle = MiddleOf(GetDlgItem(s.main, IDC_MATCH_SAMPLE)), now{};
        GetCursorPos(&now);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx =
            (now.x == middle.x ? middle.x + 1 : middle.x) * 65536 / GetSystemMetrics(SM_CXSCREEN);
        input.mi.dy = middle.y * 65536 / GetSystemMetrics(SM_CYSCREEN);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        if (text.empty()) {  // longer than the tooltip's own delay before it shows
            return WaitUntil([&] { return !ShownTip(s).empty(); }, 1500)
                       ? "a tooltip showed: " + ShownTip(s)
                       : "";
        }
        return Expect("the matched sample's tooltip", text, [&] { return ShownTip(s); });
    }};
}

ColourPatch::ColourPatch(COLORREF colour, POINT corner)
    : brush(CreateSolidBrush(colour)), middle{corner.x + 40, corner.y + 40} {
    std::string name = "patch" + std::to_string(colour);
    WNDCLASSA type{};
    type.lpfnWndProc = DefWindowProcA;
    type.hbrBackground = brush;
    type.lpszClassName = name.c_str();
    RegisterClassA(&type);
    window =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, name.c_str(), "", WS_POPUP | WS_VISIBLE,
                        corner.x, corner.y, 80, 80, nullptr, nullptr, nullptr, nullptr);
    // Wine puts a painted window on the screen once its thread looks at its queue.
    shown = WaitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        return PixelAt(middle) == colour;
    });
}

ColourPatch::~ColourPatch() {
    // The class goes too: it paints with this brush, and a later patch of the colour needs its own.
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    DestroyWindow(window);
    UnregisterClassA(name, nullptr);
    DeleteObject(brush);
}
