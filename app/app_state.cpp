#include "app/app_state.h"

AppState g_app;

HINSTANCE ProgramModule() {
    return GetModuleHandleA(nullptr);
}
