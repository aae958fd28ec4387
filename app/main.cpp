#include <windows.h>

#include <cstdlib>

#include "app/application.h"

// The default handler of an uncaught exception prints its type's name, which brings the C++
// demangler (a quarter of the program's size) along; a windowed program has nowhere to print.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*showCommand*/) {
    return RunApplication(commandLine);
}
