#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "registry/registry_key.h"
#include "tests/registry/import_hook.h"

namespace {

using Marrowset::CRegistryKey;
using Marrowset::CWin32Exception;

const char kScratchPath[] = "Software\\TintwellTests";
const char kMissingPath[] = "Software\\TintwellTests\\Missing";

template <typename Function>
Function Real(const char* dll, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}

// Watches, while it lives, what the library gives back: key handles closed, the root that
// RegConnectRegistryA handed out, malloc blocks not yet freed. It can also make calls fail.
class LibraryCalls {
  public:
    LibraryCalls() {
        // The C++ run-time allocates its per-thread exception state at the first throw; throw
        // once here so that it is not taken for a block the library left live.
        try {
            throw 0;
        } catch (int) {
        }
        watched = Watched{};
    }

    struct Watched {
        HKEY closed[16];  // fixed, so that watching allocates nothing
        int closes;
        HKEY connected;
        int liveBlocks;
        bool failNextAllocation;
        bool closeThrows;
        LONG dataQueryResult;  // forced result of a RegQueryValueExA that reads data
    };
    static Watched watched;

    static int Closes(HKEY key) {
        return static_cast<int>(std::count(watched.closed, watched.closed + watched.closes, key));
    }

  private:
    static LONG WINAPI Close(HKEY key) {
        static auto real = Real<decltype(&RegCloseKey)>("advapi32.dll", "RegCloseKey");
        if (watched.closes < 16) {
            watched.closed[watched.closes++] = key;
        }
        LONG result = real(key);
        if (watched.closeThrows) {
            throw 1;
        }
        return result;
    }
    static LONG WINAPI Connect(LPCSTR machine, HKEY root, PHKEY connected) {
        static auto real =
            Real<decltype(&RegConnectRegistryA)>("advapi32.dll", "RegConnectRegistryA");
        LONG result = real(machine, root, connected);
        if (result == ERROR_SUCCESS) {
            watched.connected = *connected;
        }
        return result;
    }
    static LONG WINAPI Query(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size) {
        static auto real = Real<decltype(&RegQueryValueExA)>("advapi32.dll", "RegQueryValueExA");
        if (data != nullptr && watched.dataQueryResult != ERROR_SUCCESS) {
            return watched.dataQueryResult;
        }
        return real(key, name, reserved, type, data, size);
    }
    // Behaves like a run-time whose malloc(0) answers null, as the C standard allows.
    static void* __cdecl Malloc(size_t size) {
        static auto real = Real<void*(__cdecl*)(size_t)>("msvcrt.dll", "malloc");
        if (size == 0 || watched.failNextAllocation) {
            watched.failNextAllocation = false;
            return nullptr;
        }
        ++watched.liveBlocks;
        return real(size);
    }
    static void __cdecl Free(void* block) {
        static auto real = Real<void(__cdecl*)(void*)>("msvcrt.dll", "free");
        if (block != nullptr) {
            --watched.liveBlocks;
        }
        real(block);
    }

    ImportHook closeHook{"advapi32.dll", "RegCloseKey", &Close};
    ImportHook connectHook{"advapi32.dll", "RegConnectRegistryA", &Connect};
    ImportHook queryHook{"advapi32.dll", "RegQueryValueExA", &Query};
    ImportHook mallocHook{"msvcrt.dll", "malloc", &Malloc};
    ImportHook freeHook{"msvcrt.dll", "free", &Free};
};
LibraryCalls::Watched LibraryCalls::watched;

void ExpectFailure(const std::function<void()>& act, const char* location, DWORD code) {
    try {
        act();
        ADD_FAILURE() << "no exception; expected " << location;
    } catch (const CWin32Exception& caught) {
        EXPECT_NE(nullptr, dynamic_cast<const CRegistryKey::Exception*>(&caught));
        EXPECT_STREQ(location, caught.GetLocation());
        EXPECT_EQ(code, caught.GetErrorCode()) << location;
    }
}

bool IsOpen(HKEY key) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Each test gets a fresh scratch key under HKEY_CURRENT_USER and removes it afterwards.
class RegistryKeyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratchPath, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &scratch, nullptr));
    }
    void TearDown() override {
        RegCloseKey(scratch);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath);
    }

    void Store(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(scratch, name, 0, type, static_cast<const BYTE*>(data), size));
    }
    HKEY OpenScratch() {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchPath, 0, KEY_READ, &key));
        return key;
    }

    HKEY scratch = nullptr;
};

TEST_F(RegistryKeyTest, CopyKeepsTheKeyOpenUntilTheLastOwnerGoes) {
    const BYTE stored[] = {1, 2, 3};
    Store("Data", REG_BINARY, stored, sizeof(stored));
    HKEY key = OpenScratch();
    LibraryCalls calls;
    {
        auto original = std::make_unique<CRegistryKey>(key);
        CRegistryKey copy(*original);
        original.reset();
        EXPECT_EQ(0, LibraryCalls::Closes(key));
        BYTE* data = nullptr;
        ASSERT_TRUE(copy.QueryValue("Data", &data));
        free(data);
    }
    EXPECT_EQ(1, LibraryCalls::Closes(key));
    EXPECT_FALSE(IsOpen(key));
}

TEST_F(RegistryKeyTest, ReleaseSwallowsAFailingCloseAndStillDeletesTheHolder) {
    HKEY key = OpenScratch();
    LibraryCalls calls;
    LibraryCalls::watched.closeThrows = true;
    // Were the exception to leave the destructor, the test program would terminate here.
    { CRegistryKey owner(key); }
    EXPECT_EQ(1, LibraryCalls::Closes(key));
    EXPECT_EQ(0, LibraryCalls::watched.liveBlocks);
}

TEST_F(RegistryKeyTest, HolderThatCannotBeMadeClosesTheKeyItWasGiven) {
    HKEY key = OpenScratch();
    {
        LibraryCalls calls;
        LibraryCalls::watched.failNextAllocation = true;
        ExpectFailure([&] { CRegistryKey adopted(key); }, "CRegistryKey::NewCCountedRegKey()",
                      ERROR_NOT_ENOUGH_MEMORY);
    }
    EXPECT_FALSE(IsOpen(key));
}

TEST_F(RegistryKeyTest, EachFailureNamesItsOperationAndCode) {
    const BYTE byte = 0;
    Store("Binary", REG_BINARY, &byte, 1);
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(scratch, "Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &parent, nullptr));
    CRegistryKey volatileKey(parent);
    CRegistryKey writable(HKEY_CURRENT_USER, kScratchPath, KEY_ALL_ACCESS);
    CRegistryKey readOnly(HKEY_CURRENT_USER, kScratchPath, KEY_READ);
    BYTE* data = nullptr;
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* location;
        DWORD code;
    };
    const Case cases[] = {
        {"missing subkey", [] { CRegistryKey(HKEY_CURRENT_USER, kMissingPath, KEY_READ); },
         "CRegistryKey::CRegistryKey(HKEY hKey ...)", ERROR_FILE_NOT_FOUND},
        {"unknown machine",
         [] { CRegistryKey(HKEY_CURRENT_USER, kScratchPath, KEY_READ, "no-such-host.invalid"); },
         "CRegistryKey::CRegistryKey() - RegConnectRegistry", ERROR_BAD_NETPATH},
        {"stable child of a volatile key",
         [&] { volatileKey.CreateKey("Child", "", 0, KEY_ALL_ACCESS, nullptr); },
         "CRegistryKey::CreateOrOpenKey()", ERROR_CHILD_MUST_BE_VOLATILE},
        {"missing value", [&] { writable.QueryValue("Missing", &data); },
         "CRegistryKey::QueryValue()", ERROR_FILE_NOT_FOUND},
        {"no memory for the value",
         [&] {
             LibraryCalls::watched.failNextAllocation = true;
             writable.QueryValue("Binary", &data);
         },
         "CRegistryKey::QueryValue()", ERROR_NOT_ENOUGH_MEMORY},
        {"value grown between its two queries",
         [&] {
             LibraryCalls::watched.dataQueryResult = ERROR_MORE_DATA;
             writable.QueryValue("Binary", &data);
         },
         "CRegistryKey::QueryValue()", ERROR_MORE_DATA},
        {"write through a read-only key", [&] { readOnly.SetValue("Binary", &byte, 1); },
         "CRegistryKey::SetValue()", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LibraryCalls calls;
        ExpectFailure(c.act, c.location, c.code);
        EXPECT_EQ(0, LibraryCalls::watched.liveBlocks);
        EXPECT_EQ(nullptr, data);
    }
}

TEST_F(RegistryKeyTest, CreateKeyOnAnExistingSubkeyClosesWhatItOpenedOnce) {
    CRegistryKey parent(HKEY_CURRENT_USER, kScratchPath, KEY_ALL_ACCESS);
    parent.CreateKey("Child", "", 0, KEY_ALL_ACCESS, nullptr);
    LibraryCalls calls;
    ExpectFailure([&] { parent.CreateKey("Child", "", 0, KEY_ALL_ACCESS, nullptr); },
                  "CRegistryKey::CreateKey()", ERROR_ALREADY_EXISTS);
    ASSERT_EQ(1, LibraryCalls::watched.closes);
    EXPECT_FALSE(IsOpen(LibraryCalls::watched.closed[0]));
    EXPECT_EQ(0, LibraryCalls::watched.liveBlocks);
    const BYTE byte = 1;
    parent.SetValue("StillOpen", &byte, 1);
}

TEST_F(RegistryKeyTest, QueryValueHandsOverBinaryAndUntypedDataOnly) {
    CRegistryKey key(HKEY_CURRENT_USER, kScratchPath, KEY_ALL_ACCESS);
    const BYTE position[] = {0x00, 0x00, 0x01, 0x4C, 0xFF, 0xFF, 0xFF, 0xEC};
    key.SetValue("Position", position, sizeof(position));
    DWORD type = REG_NONE;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(scratch, "Position", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    Store("Empty", REG_NONE, nullptr, 0);
    const DWORD number = 1;
    Store("Number", REG_DWORD, &number, sizeof(number));

    LibraryCalls calls;
    BYTE* data = nullptr;
    DWORD length = 99;
    ASSERT_TRUE(key.QueryValue("Position", &data, &length));
    ASSERT_EQ(sizeof(position), length);
    EXPECT_EQ(0, memcmp(position, data, sizeof(position)));
    free(data);

    data = nullptr;
    ASSERT_TRUE(key.QueryValue("Empty", &data, &length));
    EXPECT_NE(nullptr, data);
    EXPECT_EQ(0u, length);
    free(data);

    BYTE untouched = 0;
    data = &untouched;
    length = 99;
    EXPECT_FALSE(key.QueryValue("Number", &data, &length));
    EXPECT_EQ(&untouched, data);
    EXPECT_EQ(99u, length);
    EXPECT_EQ(0, LibraryCalls::watched.liveBlocks);
}

TEST_F(RegistryKeyTest, MachineNameConnectsAndTheConnectionIsClosedOnceOpenOrFailed) {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(GetComputerNameA(name, &size));
    const BYTE stored = 7;
    Store("Data", REG_BINARY, &stored, 1);
    {
        LibraryCalls calls;
        CRegistryKey remote(HKEY_CURRENT_USER, kScratchPath, KEY_READ, name);
        ASSERT_NE(nullptr, LibraryCalls::watched.connected);
        EXPECT_EQ(1, LibraryCalls::Closes(LibraryCalls::watched.connected));
        BYTE* data = nullptr;
        ASSERT_TRUE(remote.QueryValue("Data", &data));
        EXPECT_EQ(stored, *data);
        free(data);
    }
    LibraryCalls calls;
    ExpectFailure([&] { CRegistryKey(HKEY_CURRENT_USER, kMissingPath, KEY_READ, name); },
                  "CRegistryKey::CRegistryKey(HKEY hKey ...)", ERROR_FILE_NOT_FOUND);
    ASSERT_NE(nullptr, LibraryCalls::watched.connected);
    EXPECT_EQ(1, LibraryCalls::Closes(LibraryCalls::watched.connected));
}

TEST(RegistryRootKey, AdoptedRootWorksAndItsLastReleaseClosesIt) {
    LibraryCalls calls;
    {
        CRegistryKey root(HKEY_LOCAL_MACHINE);
        DWORD disposition = 0;
        root.CreateOrOpenKey("Software", &disposition, "", 0, KEY_READ, nullptr);
        EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
        EXPECT_EQ(0, LibraryCalls::Closes(HKEY_LOCAL_MACHINE));
    }
    EXPECT_EQ(1, LibraryCalls::Closes(HKEY_LOCAL_MACHINE));
}

}  // namespace
