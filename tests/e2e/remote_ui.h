// Drives a separately started tintwell.exe from outside, the way a user's input reaches it: posted
// keystrokes and clicks, and what any other program may read of its windows. Every wait polls
// against a deadline, so a window that never comes fails a step instead of hanging it.
#ifndef TINTWELL_TESTS_E2E_REMOTE_UI_H
#define TINTWELL_TESTS_E2E_REMOTE_UI_H

#include <windows.h>

#include <functional>
#include <string>

namespace remote {

constexpr DWORD kPatience = 5000;  // milliseconds a window or a change may take to show

// Polls `condition` every 10 ms until it holds or `milliseconds` have passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = kPatience);

// Wine hands arguments over as they were typed: a Unix path becomes one on drive Z:.
std::string WindowsPath(const std::string& path);

class Program {
  public:
    Program() = default;
    ~Program();  // a program still running is killed: a failed case leaves nothing behind
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program with `arguments` as its command line after its name, in its own folder
    // (where tintwell.ico lies), as a double click or a shortcut would.
    bool Start(const std::string& exe, const std::string& arguments);
    // False if the program did not end in time; it is then killed.
    bool WaitForExit(DWORD* exitCode, DWORD milliseconds = kPatience);
    bool Running() const;
    DWORD Id() const { return info.dwProcessId; }

  private:
    PROCESS_INFORMATION info{};
};

// A visible top-level window of `process` with that class for which `accept` holds, or null.
HWND FindWindowOf(DWORD process, const char* windowClass,
                  const std::function<bool(HWND)>& accept = nullptr);
// Waits for such a window; null when none came in time.
HWND WaitForWindowOf(DWORD process, const char* windowClass,
                     const std::function<bool(HWND)>& accept = nullptr);

// The text of any window, asked of the window itself (edits keep theirs out of reach otherwise).
std::string Text(HWND window);
void SetText(HWND window, const std::string& text);

// Posted, not sent: an input that opens a modal loop must not block the driver.
void TypeChars(HWND window, const std::string& text);
void Click(HWND button);
void PostCommand(HWND window, WORD id);

enum class IconKind { None, Error, Warning, Other };
// Which of the system's error and warning icons the message box shows, read from the screen.
IconKind MessageBoxIcon(HWND box);

// Copies a rectangle of the screen into a 24-bit BMP file.
bool SaveScreenRect(const RECT& rect, const std::string& path);

// Whether the shell's notification area holds an icon for (window, id).
bool TrayKnowsIcon(HWND window, UINT id);

}  // namespace remote

#endif
