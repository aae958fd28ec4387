// Tintwell's installer, run silently as an administrator would run it: what it installs and
// registers, a swatch file opened through the shell, and what its uninstaller leaves behind.
// Each case starts without Tintwell installed and without any .aco association.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "user_session.h"

namespace {

std::string g_installer;  // from this program's command line

constexpr char kAco[] = "Software\\Classes\\.aco";
constexpr char kOtherOwner[] = "Other.Swatch";
constexpr DWORD kInstallerPatience = 60000;

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

std::string InstallFolder() {
    return Folder(CSIDL_PROGRAM_FILES) + "\\Tintwell";
}

std::string Value(const std::string& key, const char* name = nullptr) {
    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data,
                        &size) == ERROR_SUCCESS
               ? data
               : "-";
}

// The names in a folder, sorted, or "-" when there are none.
std::string Names(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.cFileName[0] != '.') {
            names.push_back(found.cFileName);
        }
    }
    FindClose(search);
    std::sort(names.begin(), names.end());
    std::string text = names.empty() ? "-" : "";
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}

// The value names of a machine key, or "-" when the key is missing.
std::string ValueNames(const std::string& key) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return "-";
    }
    std::string text;
    char name[256];
    for (DWORD i = 0, length = sizeof name;
         RegEnumValueA(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
         ++i, length = sizeof name) {
        text += (text.empty() ? "" : " ") + std::string(name);
    }
    RegCloseKey(opened);
    return text;
}

// The shortcut's target and its "Start in" folder.
std::string Shortcut(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return "-";
    }
    std::wstring wide(path.begin(), path.end());
    char target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
        link->GetPath(target, sizeof target, nullptr, 0);
        link->GetWorkingDirectory(folder, sizeof folder);
    }
    if (file != nullptr) {
        file->Release();
    }
    if (link != nullptr) {
        link->Release();
    }
    return std::string(target) + " in " + folder;
}

// Everything the installer may add, one line each; "-" where nothing is.
std::string Footprint() {
    const std::string uninstall =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell";
    const std::string classes = "Software\\Classes\\";
    return "files: " + Names(InstallFolder()) +
           "\nshortcut: " + Shortcut(Folder(CSIDL_COMMON_PROGRAMS) + "\\Tintwell.lnk") +
           "\nentry: " + Value(uninstall, "DisplayName") + ", " +
           Value(uninstall, "DisplayVersion") + ", " + Value(uninstall, "Publisher") + ", " +
           Value(uninstall, "DisplayIcon") + ", " + Value(uninstall, "UninstallString") +
           "\nprogram: " + Value(classes + "Tintwell.SwatchFile\\shell\\open\\command") +
           "\nopen with: " + Value(classes + "Applications\\tintwell.exe\\shell\\open\\command") +
           ", " + ValueNames(std::string(kAco) + "\\OpenWithProgids") + "\n.aco: " + Value(kAco) +
           ", " + (ValueNames(kAco) == "-" ? "-" : "key") + "\n";
}

const char kNothing[] =
    "files: -\nshortcut: -\nentry: -, -, -, -, -\nprogram: -\nopen with: -, -\n.aco: -, -\n";

bool RunToEnd(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process.hProcess, kInstallerPatience);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

// The uninstaller runs a copy of itself and returns at once; the copy removes the folder last.
bool Uninstall() {
    std::string folder = InstallFolder();
    if (!RunToEnd("\"" + folder + "\\uninstall.exe\" /S")) {
        return false;
    }
    for (DWORD waited = 0; waited < kInstallerPatience; waited += 100) {
        if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        Sleep(100);
    }
    return false;
}

class Installer : public testing::Test {
  protected:
    void SetUp() override {
        CoInitialize(nullptr);
        if (GetFileAttributesA(InstallFolder().c_str()) != INVALID_FILE_ATTRIBUTES) {
            Uninstall();  // left by an earlier run that failed
        }
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAco);
        ASSERT_EQ(Footprint(), kNothing);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAco);
        Store(std::nullopt);
        CoUninitialize();
    }
};

TEST_F(Installer, RegistersTintwellOpensSwatchFilesWithItAndUninstallsAllButTheSettings) {
    ASSERT_TRUE(RunToEnd("\"" + g_installer + "\" /S"));
    const std::string folder = InstallFolder();
    const std::string open = "\"" + folder + "\\tintwell.exe\" \"%1\"";
    EXPECT_EQ(Footprint(),
              "files: LICENSE README.md demo.aco tintwell.exe tintwell.ico uninstall.exe"
              "\nshortcut: " +
                  folder + "\\tintwell.exe in " + folder +
                  "\nentry: Tintwell, " TINTWELL_PROJECT_VERSION ", Vexmoor Utils, " + folder +
                  "\\tintwell.exe,0, \"" + folder + "\\uninstall.exe\"" + "\nprogram: " + open +
                  "\nopen with: " + open + ", Tintwell.SwatchFile" +
                  "\n.aco: Tintwell.SwatchFile, key\n");

    // Double-clicking a swatch file: the shell's open verb on a path with a space in it.
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    const std::string demo = folder + "\\demo.aco";
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.lpVerb = "open";
    request.lpFile = demo.c_str();
    request.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&request) && request.hProcess != nullptr);
    EXPECT_EQ(RunSessionOn(request.hProcess, {Main(Normal), Path(demo), Close(), Exit()}), "");

    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(Footprint(), kNothing);
    HKEY settings;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vexmoor Utils\\Tintwell", 0, KEY_READ,
                            &settings),
              ERROR_SUCCESS)
        << "the settings key went with the program";
    RegCloseKey(settings);
}

TEST_F(Installer, LeavesAnotherProgramsAssociationAlone) {
    ASSERT_EQ(
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kAco, nullptr, REG_SZ, kOtherOwner, sizeof kOtherOwner),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, (std::string(kAco) + "\\OpenWithProgids").c_str(),
                              kOtherOwner, REG_SZ, "", 1),
              ERROR_SUCCESS);
    auto association = [] {
        std::string all = Footprint();
        return all.substr(all.find("open with:"));
    };

    ASSERT_TRUE(RunToEnd("\"" + g_installer + "\" /S"));
    std::string open = "\"" + InstallFolder() + "\\tintwell.exe\" \"%1\"";
    EXPECT_EQ(association(), "open with: " + open + ", " + kOtherOwner +
                                 " Tintwell.SwatchFile\n.aco: Other.Swatch, key\n");
    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(association(), "open with: -, Other.Swatch\n.aco: Other.Swatch, key\n");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: installer_test INSTALLER.exe\n");
        return 2;
    }
    g_installer = WindowsPath(argv[1]);
    return RUN_ALL_TESTS();
}
