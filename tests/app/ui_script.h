// Drives modal dialogs from inside their own message loops. Steps run one per timer tick from a
// thread timer, which every modal loop on the thread dispatches, so a step that opens a nested
// dialog (a view switch, the About box) does not stop the steps after it.
#ifndef TINTWELL_TESTS_UI_SCRIPT_H
#define TINTWELL_TESTS_UI_SCRIPT_H

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class UiScript {
public:
    UiScript();
    ~UiScript();
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    void Then(std::function<void()> step);
    // Starts the steps; call right before the modal call that they drive.
    void Start();
    // True when every step ran before the modal call returned.
    bool Finished() const { return steps.empty() && !timedOut; }
    bool TimedOut() const { return timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::deque<std::function<void()>> steps;
    UINT_PTR timer = 0;
    int ticksLeft = 0;
    bool timedOut = false;
};

// A message box that appeared, as the user saw it.
struct SeenMessageBox {
    std::string caption;
    std::string text;
    bool errorIcon;
    bool warningIcon;
};

// Answers every message box on this thread with its default button, recording what it showed.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return seen; }
    void Clear() { seen.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook = nullptr;
    std::vector<SeenMessageBox> seen;
};

// Pumps this thread's messages for a short while, so that posted work and repaints happen.
void PumpMessages(DWORD milliseconds = 50);

std::string WindowText(HWND window);

#endif
