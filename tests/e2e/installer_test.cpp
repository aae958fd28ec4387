// Tintwell's installer, run silently as an administrator would run it: what it installs and
// registers, palette files opened through the shell, and what its uninstaller leaves behind, on a
// machine where no program owns palette files and then on one where another program owns some.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/settings_key.h"
#include "user_session.h"

namespace {

const char* const kExtensions[] = {".aco", ".ase", ".act", ".gpl"};
const char* const kOwned[] = {".aco", ".gpl"};  // by another program in the second round

std::string ClassKey(const char* extension) {
    return std::string("Software\\Classes\\") + extension;
}
std::string OpenWithKey(const char* extension) {
    return ClassKey(extension) + "\\OpenWithProgids";
}

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const std::string& key) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// A text value of the machine's registry, or "-".
std::string Value(const std::string& key, const char* name = nullptr) {
    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data,
                        &size) == ERROR_SUCCESS
               ? data
               : "-";
}

// Per palette extension: whether Tintwell and the other program are in its "Open with" list ("[]"
// or "[-]"), and the program that owns it.
std::string Associations() {
    std::string lines;
    for (const char* extension : kExtensions) {
        const std::string key = ClassKey(extension);
        lines += std::string(extension) + ": [" +
                 Value(OpenWithKey(extension), "Tintwell.SwatchFile") + "] [" +
                 Value(OpenWithKey(extension), "Other.Swatch") + "] " + Value(key) +
                 (KeyExists(key) ? "" : ", no key") + "\n";
    }
    return lines;
}

// The lines Associations gives when every extension but kOwned is `free` and each of kOwned is
// `owned`.
std::string EachExtension(const std::string& free, const std::string& owned) {
    std::string lines;
    for (const char* extension : kExtensions) {
        const bool isOwned = std::find(std::begin(kOwned), std::end(kOwned),
                                       std::string(extension)) != std::end(kOwned);
        lines += std::string(extension) + ": " + (isOwned ? owned : free) + "\n";
    }
    return lines;
}

void ForgetAssociations() {
    for (const char* extension : kExtensions) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey(extension).c_str());
    }
}

// Everything the installer may add, a line each; "-" where nothing is.
std::string Footprint(const std::string& folder) {
    const std::string application = "Software\\Classes\\Applications\\tintwell.exe";
    std::string supported;
    for (const char* extension : kExtensions) {
        supported += Value(application + "\\SupportedTypes", extension) == "" ? " " : " -";
        supported += extension;
    }
    const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell";
    std::string files = Exists(folder) ? "" : " no folder";
    for (const char* name :
         {"tintwell.exe", "tintwell.ico", "demo.aco", "README.md", "LICENSE", "uninstall.exe"}) {
        files += Exists(folder + "\\" + name) ? " " + std::string(name) : "";
    }
    return "files:" + files + "\nshortcut: " +
           (Exists(Folder(CSIDL_COMMON_PROGRAMS) + "\\Tintwell.lnk") ? "yes" : "-") +
           "\nentry: " + Value(entry, "DisplayName") + ", " + Value(entry, "DisplayVersion") +
           ", " + Value(entry, "Publisher") + ", " + Value(entry, "DisplayIcon") + ", " +
           Value(entry, "UninstallString") +
           "\nprogram: " + Value("Software\\Classes\\Tintwell.SwatchFile\\shell\\open\\command") +
           "\napplication: " + Value(application + "\\shell\\open\\command") + "," + supported +
           "\n" + Associations();
}

// The shell's open verb on a file, which for a program starts it with the parameters.
HANDLE ShellOpen(const std::string& file, const char* parameters = nullptr) {
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.lpVerb = "open";
    request.lpFile = file.c_str();
    request.lpParameters = parameters;
    request.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&request) ? request.hProcess : nullptr;
}

bool RunSilently(const std::string& program) {
    HANDLE process = ShellOpen(program, "/S");
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process, 60000);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code == 0;
}

// The uninstaller runs a copy of itself and returns at once; the copy removes the folder last.
bool Uninstall(const std::string& folder) {
    bool started = RunSilently(folder + "\\uninstall.exe");
    for (int tenths = 0; started && Exists(folder) && tenths < 600; ++tenths) {
        Sleep(100);
    }
    return started && !Exists(folder);
}

TEST(Installer, RegistersOpensPaletteFilesAndUninstallsAllButTheSettingsAndOthersAssociations) {
    const std::string installer = WindowsPath(std::getenv("TINTWELL_INSTALLER"));  // from CTest
    const std::string folder = Folder(CSIDL_PROGRAM_FILES) + "\\Tintwell";
    const std::string open = "\"" + folder + "\\tintwell.exe\" \"%1\"";
    const std::string nothing =
        "files: no folder\nshortcut: -\nentry: -, -, -, -, -\nprogram: -\n"
        "application: -, -.aco -.ase -.act -.gpl\n";
    if (Exists(folder)) {
        Uninstall(folder);  // left by an earlier run that failed
    }
    ForgetAssociations();
    ASSERT_EQ(Footprint(folder), nothing + EachExtension("[-] [-] -, no key", "[-] [-] -, no key"));

    ASSERT_TRUE(RunSilently(installer));
    EXPECT_EQ(Footprint(folder),
              "files: tintwell.exe tintwell.ico demo.aco README.md LICENSE uninstall.exe"
              "\nshortcut: yes\nentry: Tintwell, " TINTWELL_PROJECT_VERSION ", Vexmoor Utils, " +
                  folder + "\\tintwell.exe,0, \"" + folder + "\\uninstall.exe\"\nprogram: " + open +
                  "\napplication: " + open + ", .aco .ase .act .gpl\n" +
                  EachExtension("[] [-] Tintwell.SwatchFile", "[] [-] Tintwell.SwatchFile"));

    // A double click on a palette file: the shell's open verb, on a path with a space in it.
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    const std::string demo = folder + "\\demo.aco";
    const std::string gimp = folder + "\\my palette.gpl";
    std::ofstream(gimp, std::ios::binary) << "GIMP Palette\n0 0 0 Black\n";
    for (const std::string& file : {demo, gimp}) {
        SCOPED_TRACE(file);
        HANDLE tintwell = ShellOpen(file);
        ASSERT_NE(tintwell, nullptr);
        EXPECT_EQ(RunSessionOn(tintwell, {Main(Normal), Path(file), Close(), Exit()}), "");
    }
    DeleteFileA(gimp.c_str());

    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(Footprint(folder), nothing + EachExtension("[-] [-] -, no key", "[-] [-] -, no key"));
    EXPECT_TRUE(KeyExists(kSettingsKeyPath)) << "the settings went too";
    Store(std::nullopt);

    // Another program owns some: Tintwell joins their "Open with" lists and leaves the rest alone.
    for (const char* extension : kOwned) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, ClassKey(extension).c_str(), nullptr, REG_SZ,
                        "Other.Swatch", 13);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, OpenWithKey(extension).c_str(), "Other.Swatch", REG_SZ,
                        "", 1);
    }
    ASSERT_TRUE(RunSilently(installer));
    EXPECT_EQ(Associations(), EachExtension("[] [-] Tintwell.SwatchFile", "[] [] Other.Swatch"));
    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(Footprint(folder),
              nothing + EachExtension("[-] [-] -, no key", "[-] [] Other.Swatch"));
    ForgetAssociations();
}

}  // namespace
