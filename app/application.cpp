#include "app/application.h"

#include <cstring>
#include <new>

#include "app/app_state.h"
#include "app/views/main_dialog.h"
#include "app/files/path_text.h"
#include "app/settings.h"
#include "app/files/swatch_file_selection.h"

namespace {

HICON LoadProgramIcon(int size) {
    // Looked up in the current directory; a missing file leaves the icon out, silently.
    return static_cast<HICON>(
        LoadImageA(nullptr, "tintwell.ico", IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

}  // namespace

void TakeCommandLine(const char* commandLine) {
    std::size_t length = std::strlen(commandLine);
    if (length >= 2 && commandLine[0] == '"' && commandLine[length - 1] == '"' &&
        std::memchr(commandLine + 1, '"', length - 2) == nullptr) {
        ++commandLine;
        length -= 2;
    }
    if (length > kSwatchPathSize - 1) {
        length = kSwatchPathSize - 1;
    }
    std::memcpy(g_app.swatchPath, commandLine, length);
    g_app.swatchPath[length] = '\0';
}

int StartApplication() {
    g_app.swatchTable.reset(new (std::nothrow) SwatchTable);
    if (!g_app.swatchTable) {
        return 0;
    }
    RecallMatching();
    const bool pathGiven = g_app.swatchPath[0] != '\0';
    if (pathGiven) {
        SelectSwatchFile(false);
    }
    g_app.smallIcon.reset(LoadProgramIcon(16));
    g_app.largeIcon.reset(LoadProgramIcon(32));
    LoadSettings();
    if (!pathGiven) {
        OpenLastSwatchFile();
    } else if (g_app.swatchTable->IsLoaded()) {
        RememberSwatchFile();  // on a first run the key exists only now
    }
    return 1;
}

int RunApplication(const char* commandLine) {
    if (IsExactTail(commandLine, GetCommandLineW())) {
        TakeCommandLine(commandLine);
    } else {
        ReportRefusedPath();
    }
    if (!StartApplication()) {
        MessageBoxA(nullptr, "Tintwell could not start: not enough free memory.", "Tintwell Error",
                    MB_OK | MB_ICONERROR);
        return -1;
    }
    return static_cast<int>(RunViews());
}
