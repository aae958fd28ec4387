#include "ui_script.h"

#include "app/app_state.h"

namespace {

UiScript* activeScript = nullptr;
MessageBoxAnswerer* activeAnswerer = nullptr;

// About ten seconds in all for the dialogs a script drives to end.
constexpr int kTickBudget = 1000;
constexpr UINT kTickMilliseconds = 10;

// A modal loop shows its dialog only once it finds its queue empty: steps wait for that, so
// that they act on what the user would see.
bool ProgramWindowsShown() {
    return IsWindowVisible(g_app.mainWindow) &&
           (g_app.aboutWindow == nullptr || IsWindowVisible(g_app.aboutWindow));
}

}  // namespace

UiScript::UiScript() {
    activeScript = this;
}

UiScript::~UiScript() {
    KillTimer(nullptr, timer);
    activeScript = nullptr;
}

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
    } else if (--script->ticksLeft == 0) {
        // Out of time: close what is on top, so that the test fails instead of hanging.
        script->timedOut = true;
        script->ticksLeft = kTickBudget;
        PostMessageA(GetActiveWindow(), WM_CLOSE, 0, 0);
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
    auto window = reinterpret_cast<HWND>(wParam);
    // A message box's text is the static with id 0xFFFF.
    HWND text = window != nullptr ? GetDlgItem(window, 0xFFFF) : nullptr;
    if (code == HCBT_ACTIVATE && activeAnswerer != nullptr && text != nullptr) {
        activeAnswerer->seen.push_back(WindowText(window) + ": " + WindowText(text));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
