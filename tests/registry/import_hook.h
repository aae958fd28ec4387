#pragma once

#include <windows.h>

#include <vector>

// Points this executable's import of `function` from `dll` at `replacement` while the object
// lives. The registry library is linked into the test program, so its calls into advapi32,
// kernel32 and the C run-time go through these very slots.
class ImportHook {
  public:
    template <typename Function>
    ImportHook(const char* dll, const char* function, Function replacement)
        : ImportHook(dll, function, reinterpret_cast<ULONG_PTR>(replacement)) {}
    ImportHook(const char* dll, const char* function, ULONG_PTR replacement);
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    ~ImportHook();

  private:
    std::vector<ULONG_PTR*> slots;
    ULONG_PTR original = 0;
};
