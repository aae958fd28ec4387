// Drives modal dialogs from inside their own message loops. Steps run one per tick of a thread
// timer, which every modal loop on the thread dispatches, so a step that opens a nested dialog
// (a view switch, the About box) does not hold up the steps after it.
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

    void Then(std::function<void()> step) { steps.push_back(std::move(step)); }
    // Call right before the modal call that the steps drive.
    void Start();
    // Every step ran, and no dialog had to be closed for running out of time.
    bool Finished() const { return steps.empty() && !timedOut; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::deque<std::function<void()>> steps;
    UINT_PTR timer = 0;
    int ticksLeft = 0;
    bool timedOut = false;
};

// Answers every message box on this thread with OK and records its caption and text.
class MessageBoxAnswerer {
  public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    std::vector<std::string> seen;  // "caption: text"

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook = nullptr;
};

std::string WindowText(HWND window);

#endif
