// Tintwell's installer, run silently as an administrator would run it, on a machine where another
// program owns one palette extension: what it registers, a palette file opened through the shell,
// and what its uninstaller leaves behind.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/settings_key.h"
#include "user_session.h"

namespace {

const char* const kExtensions[] = {".aco", ".ase", ".act", ".gpl"};
const char kOwned[] = ".gpl";  // by another program

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

// A text value of the machine's registry; "-" for a missing value, "no key" for a missing key.
std::string Value(const std::string& key, const char* name = nullptr) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return "no key";
    }
    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    const LONG read = RegGetValueA(opened, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size);
    RegCloseKey(opened);
    return read == ERROR_SUCCESS ? data : "-";
}

// Per palette extension: whether Tintwell and the other program are in its "Open with" list ("[]"
// where they are), and the program that owns it.
std::string Associations() {
    std::string lines;
    for (const char* extension : kExtensions) {
        lines += std::string(extension) + ": [" +
                 Value(OpenWithKey(extension), "Tintwell.SwatchFile") + "] [" +
                 Value(OpenWithKey(extension), "Other.Swatch") + "] " + Value(ClassKey(extension)) +
                 "\n";
    }
    return lines;
}

// The lines Associations gives when every extension but kOwned is `free` and kOwned is `owned`.
std::string EachExtension(const std::string& free, const std::string& owned) {
    std::string lines;
    for (const char* extension : kExtensions) {
        lines += std::string(extension) + ": " + (extension == std::string(kOwned) ? owned : free) +
                 "\n";
    }
    return lines;
}

// The shortcut, the uninstall entry's name, version and command, and Associations.
std::string Footprint() {
    const char entry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell";
    return std::string("shortcut: ") +
           (Exists(Folder(CSIDL_COMMON_PROGRAMS) + "\\Tintwell.lnk") ? "yes" : "-") +
           "\nentry: " + Value(entry, "DisplayName") + ", " + Value(entry, "DisplayVersion") +
           ", " + Value(entry, "UninstallString") + "\n" + Associations();
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
    if (Exists(folder)) {
        Uninstall(folder);  // left by an earlier run that failed
    }
    for (const char* extension : kExtensions) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey(extension).c_str());
    }
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, ClassKey(kOwned).c_str(), nullptr, REG_SZ, "Other.Swatch",
                    13);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, OpenWithKey(kOwned).c_str(), "Other.Swatch", REG_SZ, "", 1);
    const std::string before = "shortcut: -\nentry: no key, no key, no key\n" +
                               EachExtension("[no key] [no key] no key", "[-] [] Other.Swatch");
    ASSERT_EQ(Footprint(), before);

    // Tintwell joins the other program's "Open with" list and leaves its ownership alone.
    ASSERT_TRUE(RunSilently(installer));
    EXPECT_EQ(Footprint(), "shortcut: yes\nentry: Tintwell, " TINTWELL_PROJECT_VERSION ", \"" +
                               folder + "\\uninstall.exe\"\n" +
                               EachExtension("[] [-] Tintwell.SwatchFile", "[] [] Other.Swatch"));

    // A double click on a palette file: the shell's open verb, on a path with a space in it.
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    const std::string demo = folder + "\\demo.aco";
    HANDLE tintwell = ShellOpen(demo);
    ASSERT_NE(tintwell, nullptr);
    EXPECT_EQ(RunSessionOn(tintwell, {Main(Normal), Path(demo), Close(), Exit()}), "");

    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(Footprint(), before);
    EXPECT_NE(Value(kSettingsKeyPath), "no key") << "the settings went too";
    Store(std::nullopt);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey(kOwned).c_str());
}

}  // namespace
