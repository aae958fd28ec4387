#include "ui_script.h"

#include "app/app_state.h"

namespace {

UiScript* activeScript = nullptr;
MessageBoxAnswerer* activeAnswerer = nullptr;

// Ticks a script may wait, in all, for its dialogs to finish: about ten seconds.
constexpr int kTickBudget = 1000;
constexpr UINT kTickMilliseconds = 10;

bool IsMessageBox(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    // The text of a message box is the static with id 0xFFFF.
    return std::string(className) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr;
}

bool ShowsIcon(HWND box, LPCSTR icon) {
    HICON expected = LoadIconA(nullptr, icon);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == expected) {
            return true;
        }
    }
    return false;
}

// A modal loop shows its dialog only when it finds its queue empty: steps wait for that, so that
// they act on what the user would see.
bool ProgramWindowsShown() {
    return IsWindowVisible(g_app.mainWindow) &&
           (g_app.aboutWindow == nullptr || IsWindowVisible(g_app.aboutWindow));
}

}  // namespace

UiScript::UiScript() { activeScript = this; }

UiScript::~UiScript() {
    if (timer != 0) {
        KillTimer(nullptr, timer);
    }
    activeScript = nullptr;
}

void UiScript::Then(std::function<void()> step) { steps.push_back(std::move(step)); }

void UiScript::Start() {
    ticksLeft = kTickBudget;
    timer = SetTimer(nullptr, 0, kTickMilliseconds, Tick);
}

void CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    UiScript* script = activeScript;
    if (script == nullptr) {
        return;
    }
    if (!script->steps.empty() && ProgramWindowsShown()) {
        // Taken off before it runs: a step may block in a nested loop that ticks again.
        std::function<void()> step = std::move(script->steps.front());
        script->steps.pop_front();
        step();
        return;
    }
    if (--script->ticksLeft <= 0 && !script->timedOut) {
        // The dialogs did not end: close whatever is on top so the test fails instead of hanging.
        script->timedOut = true;
        HWND top = GetActiveWindow();
        if (top != nullptr) {
            PostMessageA(top, WM_CLOSE, 0, 0);
        }
        script->ticksLeft = kTickBudget;
    }
}

MessageBoxAnswerer::MessageBoxAnswerer() {
    activeAnswerer = this;
    hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    UnhookWindowsHookEx(hook);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && activeAnswerer != nullptr && window != nullptr &&
        IsMessageBox(window)) {
        activeAnswerer->seen.push_back({WindowText(window),
                                        WindowText(GetDlgItem(window, 0xFFFF)),
                                        ShowsIcon(window, IDI_ERROR),
                                        ShowsIcon(window, IDI_WARNING)});
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    }
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
