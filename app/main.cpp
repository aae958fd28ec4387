#include <windows.h>

#include "app/application.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*showCommand*/) {
    return RunApplication(commandLine);
}
