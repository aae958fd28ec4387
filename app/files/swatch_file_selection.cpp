#include "app/files/swatch_file_selection.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "app/app_state.h"
#include "app/settings.h"
#include "app/colour/user_colour.h"
#include "app/files/path_text.h"

namespace {

constexpr const char kCaption[] = "Tintwell";

void FillFileDialog() {
    OPENFILENAMEW& dialog = g_app.fileDialog;
    dialog = OPENFILENAMEW{};
    // The original form of the record, which every version of the dialog accepts.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.lpstrFilter =
        L"Swatch Files\0*.aco\0All Files\0*.*\0Palette Files\0*.aco;*.ase;*.act;*.gpl\0";
    dialog.nFilterIndex = 1;
    dialog.Flags = OFN_READONLY;
    dialog.lpstrDefExt = L"ACO";
}

// The open-file dialog, opened at the current path; false when it was cancelled or the chosen
// name was refused, true with the name in the path buffer.
bool ChooseFile() {
    if (g_app.fileDialog.lStructSize == 0) {
        FillFileDialog();
    }
    wchar_t chosen[kSwatchPathSize] = {};
    MultiByteToWideChar(CP_ACP, 0, g_app.swatchPath, -1, chosen, kSwatchPathSize);
    OPENFILENAMEW& dialog = g_app.fileDialog;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = kSwatchPathSize;
    // After a view switch the dialog that first used the record is gone: own the file dialog by
    // the window the user sees.
    dialog.hwndOwner = g_app.mainWindow;
    const BOOL chose = GetOpenFileNameW(&dialog);
    dialog.lpstrFile = nullptr;
    char path[kSwatchPathSize];
    if (!chose) {
        return false;
    }
    if (!NarrowPathExactly(chosen, path, sizeof path)) {
        ReportRefusedPath();
        return false;
    }
    std::memcpy(g_app.swatchPath, path, sizeof path);
    return true;
}

void Warn(const char* text) {
    MessageBoxA(g_app.mainWindow, text, kCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

const char* LoadFailureText(LoadStatus status) {
    switch (FailureOf(status)) {
    case LoadFailure::kNoMemory:
        return "Tintwell failed to load the file.\nNot enough free memory.";
    case LoadFailure::kNoColours:
        return "Tintwell failed to load the file.\n"
               "The file has no colours, or Tintwell was unable to load colours.";
    case LoadFailure::kDamaged:
        return "Tintwell failed to load the file.\n"
               "Tintwell was unable to load colours.\n"
               "The file might be damaged, or of unknown format.";
    case LoadFailure::kNotFound:
        return "Tintwell failed to load the file.\nThe file could not be found.";
    case LoadFailure::kCannotOpen:
        break;
    }
    return "Tintwell failed to load the file.\n"
           "The file could not be opened. Check the path and that you may read the file.";
}

namespace {

// Loads the file that swatchPath names, with its colours' names; false when the table kept the
// file it held.
bool LoadTable() {
    SwatchTable& table = *g_app.swatchTable;
    table.SetFileName(g_app.swatchPath);
    if (!table.Load(&g_app.swatchNames)) {
        return false;
    }
    ForgetMatchPosition();
    return true;
}

// Loads the file that swatchPath names and reports how it went; a failure names the file of
// `previousPath` again.
int LoadNamedFile(const char* previousPath) {
    SwatchTable& table = *g_app.swatchTable;
    if (LoadTable()) {
        RememberSwatchFile();
        const LoadStatus status = table.GetStatus();
        // Perceptual matching converts most of what the channel sum passes over.
        const bool unmatched =
            g_app.matching != MatchMode::kPerceptual || table.HoldsUnconvertible();
        if (HasUnsupportedWarning(status) && unmatched) {
            Warn(
                "Tintwell loaded the file, but the file\n"
                "contains unsupported colour formats.\n"
                "Tintwell may not return correct information.");
        } else if (HasCountWarning(status)) {
            Warn(
                "Tintwell loaded the file, but the number of\n"
                "colours reported was more than the number of colours loaded.");
        }
        SetWindowTextA(g_app.controls.swatchPath, g_app.swatchPath);
        SetFocus(g_app.controls.userHex);
        return 1;
    }

    Warn(LoadFailureText(table.GetStatus()));
    // The table still holds the previous file's colours: name that file again.
    std::memcpy(g_app.swatchPath, previousPath, kSwatchPathSize);
    table.SetFileName(g_app.swatchPath);
    return 1;
}

}  // namespace

int SelectSwatchFile(bool interactive) {
    if (!g_app.swatchTable) {
        return 1;  // the run is ending
    }
    char previousPath[kSwatchPathSize];
    std::memcpy(previousPath, g_app.swatchPath, sizeof previousPath);

    if (interactive) {
        if (!ChooseFile()) {
            SetWindowTextA(g_app.controls.swatchPath, g_app.swatchPath);
            return 1;
        }
    }
    return LoadNamedFile(previousPath);
}

int OpenSwatchFile(const char* path) {
    if (!g_app.swatchTable) {
        return 1;
    }
    std::size_t length = std::strlen(path);
    if (length >= kSwatchPathSize) {
        // Not a status the table can give: the text of a file that cannot be opened.
        Warn(LoadFailureText(ERROR_FILENAME_EXCED_RANGE));
        return 1;
    }
    char previousPath[kSwatchPathSize];
    std::memcpy(previousPath, g_app.swatchPath, sizeof previousPath);
    std::memcpy(g_app.swatchPath, path, length + 1);
    return LoadNamedFile(previousPath);
}

void OpenLastSwatchFile() {
    if (!g_app.swatchTable || !RecallSwatchFile(g_app.swatchPath)) {
        return;
    }
    // Quietly: warnings too were given when the file was chosen.
    if (!LoadTable()) {
        g_app.swatchPath[0] = '\0';
    }
}
