// Tintwell's installer, run silently as an administrator would run it: what it installs and
// registers, a swatch file opened through the shell, and what its uninstaller leaves behind, on a
// machine where no program owns .aco files and then on one where another program does.
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

constexpr char kAco[] = "Software\\Classes\\.aco";
constexpr char kOpenWith[] = "Software\\Classes\\.aco\\OpenWithProgids";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const char* key) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
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

// Everything the installer may add, a line each; "-" where nothing is.
std::string Footprint(const std::string& folder) {
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
           "\napplication: " +
           Value("Software\\Classes\\Applications\\tintwell.exe\\shell\\open\\command") +
           "\nopen with: [" + Value(kOpenWith, "Tintwell.SwatchFile") + "] [" +
           Value(kOpenWith, "Other.Swatch") + "]\n.aco: " + Value(kAco) +
           (KeyExists(kAco) ? "" : ", no key") + "\n";
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

TEST(Installer, RegistersOpensSwatchFilesAndUninstallsAllButTheSettingsAndOthersAssociations) {
    const std::string installer = WindowsPath(std::getenv("TINTWELL_INSTALLER"));  // from CTest
    const std::string folder = Folder(CSIDL_PROGRAM_FILES) + "\\Tintwell";
    const std::string open = "\"" + folder + "\\tintwell.exe\" \"%1\"";
    const std::string nothing =
        "files: no folder\nshortcut: -\nentry: -, -, -, -, -\nprogram: -\napplication: -\n";
    if (Exists(folder)) {
        Uninstall(folder);  // left by an earlier run that failed
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAco);
    ASSERT_EQ(Footprint(folder), nothing + "open with: [-] [-]\n.aco: -, no key\n");

    ASSERT_TRUE(RunSilently(installer));
    EXPECT_EQ(Footprint(folder),
              "files: tintwell.exe tintwell.ico demo.aco README.md LICENSE uninstall.exe"
              "\nshortcut: yes\nentry: Tintwell, " TINTWELL_PROJECT_VERSION ", Vexmoor Utils, " +
                  folder + "\\tintwell.exe,0, \"" + folder + "\\uninstall.exe\"\nprogram: " + open +
                  "\napplication: " + open + "\nopen with: [] [-]\n.aco: Tintwell.SwatchFile\n");

    // A double click on a swatch file: the shell's open verb, on a path with a space in it.
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    const std::string demo = folder + "\\demo.aco";
    HANDLE tintwell = ShellOpen(demo);
    ASSERT_NE(tintwell, nullptr);
    EXPECT_EQ(RunSessionOn(tintwell, {Main(Normal), Path(demo), Close(), Exit()}), "");

    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(Footprint(folder), nothing + "open with: [-] [-]\n.aco: -, no key\n");
    EXPECT_TRUE(KeyExists(kSettingsKeyPath)) << "the settings went too";
    Store(std::nullopt);

    // Another program owns .aco: Tintwell joins its "Open with" list and leaves the rest alone.
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kAco, nullptr, REG_SZ, "Other.Swatch", 13);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kOpenWith, "Other.Swatch", REG_SZ, "", 1);
    ASSERT_TRUE(RunSilently(installer));
    std::string installed = Footprint(folder);
    EXPECT_EQ(installed.substr(installed.find("open with")),
              "open with: [] []\n.aco: Other.Swatch\n");
    ASSERT_TRUE(Uninstall(folder));
    EXPECT_EQ(Footprint(folder), nothing + "open with: [-] []\n.aco: Other.Swatch\n");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAco);
}

}  // namespace
