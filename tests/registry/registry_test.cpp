#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "registry/registry_key.h"

namespace {

using Marrowset::CRegistryKey;

const char kScratchPath[] = "Software\\TintwellTests";

// Points this program's import of `function` from `dll` at `replacement` for good and returns
// what it pointed at. The registry library is linked in, so its calls go through that slot.
template <typename Function>
Function* Redirect(const char* dll, const char* function, Function* replacement) {
    auto original = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleA(dll), function));
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto* first = reinterpret_cast<ULONG_PTR*>(base + table.VirtualAddress);
    auto* end = first + table.Size / sizeof(ULONG_PTR);
    ULONG_PTR* slot = std::find(first, end, original);  // the loader wrote that very address
    if (original == 0 || slot == end) {
        abort();  // the test would watch nothing
    }
    *slot = reinterpret_cast<ULONG_PTR>(replacement);  // MinGW's import section is writable
    return reinterpret_cast<Function*>(original);
}

// The library's calls to RegCloseKey since the last reset.
struct {
    int closes;
} calls;
decltype(&RegCloseKey) realClose;

LONG WINAPI Close(HKEY key) {
    ++calls.closes;
    return realClose(key);
}

void Put(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, kScratchPath, name, type,
                                             bytes.data(), static_cast<DWORD>(bytes.size())));
}

HKEY OpenScratch() {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchPath, 0, KEY_READ, &key));
    return key;
}

// Each test gets a fresh scratch key under HKEY_CURRENT_USER and removes it afterwards.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (realClose == nullptr) {
            realClose = Redirect("advapi32.dll", "RegCloseKey", &Close);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath);
        Put("Empty", REG_NONE, "");
        calls = {};
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath); }
};

TEST_F(RegistryTest, AKeyClosesOnceAndAnEmptyValueGetsABlockOfItsOwn) {
    HKEY key = OpenScratch();
    {
        auto original = std::make_unique<CRegistryKey>(key);
        CRegistryKey copy(*original);
        original.reset();
        BYTE* data = nullptr;
        DWORD length = 1;
        ASSERT_TRUE(copy.QueryValue("Empty", &data, &length));  // throws if the handle is gone
        EXPECT_NE(nullptr, data);
        EXPECT_EQ(0u, length);
        free(data);
        EXPECT_EQ(0, calls.closes);
    }
    EXPECT_EQ(1, calls.closes);
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegQueryValueExA(key, "Empty", nullptr, nullptr, nullptr, nullptr));
}

// The settings' own cases show which types each reader takes; not that a reader stays within
// its size, nor that a value of another length is refused.
TEST_F(RegistryTest, ReadsTakeOnlyWholeValuesThatFitAndWriteNoFurther) {
    CRegistryKey key(HKEY_CURRENT_USER, kScratchPath, KEY_ALL_ACCESS);
    key.SetStringValue("Fits", "C:\\a.aco");  // 9 bytes with the zero
    key.SetStringValue("Long", "C:\\ab.aco");
    Put("Inner", REG_SZ, std::string("a\0b", 4));
    for (const char* name : {"Fits", "Long", "Inner"}) {
        char text[12];
        std::memset(text, 0xBD, sizeof text);
        EXPECT_EQ(name == std::string("Fits"), key.QueryStringValue(name, text, 9)) << name;
        EXPECT_EQ(std::string(3, '\xBD'), std::string(text + 9, 3)) << name;
    }
    key.SetValue("Nine", reinterpret_cast<const BYTE*>("\1\2\3\4\5\6\7\10\11"), 9);
    BYTE out[5] = {0xBD, 0xBD, 0xBD, 0xBD, 0xBD};
    EXPECT_EQ(CRegistryKey::BinaryRead::kRead, key.QueryBinaryValue("Nine", out, 4));
    EXPECT_EQ(std::string("\1\2\3\4\xBD"), std::string(out, out + 5));
    Put("Two", REG_DWORD, std::string(2, '\1'));
    Put("Eight", REG_DWORD, std::string(8, '\1'));
    DWORD number = 7;
    EXPECT_FALSE(key.QueryDwordValue("Two", &number));
    EXPECT_FALSE(key.QueryDwordValue("Eight", &number));
    EXPECT_EQ(7u, number);
}

}  // namespace
