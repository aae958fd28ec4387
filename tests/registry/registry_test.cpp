// The registry library: a key shared by its copies, and reads bounded by the room they are given.
#include <stdlib.h>

#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "registry/registry_key.h"

namespace {

using Marrowset::CRegistryKey;

const char kScratchPath[] = "Software\\TintwellTests";

void Put(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, kScratchPath, name, type,
                                             bytes.data(), static_cast<DWORD>(bytes.size())));
}

// Each test gets a fresh scratch key under HKEY_CURRENT_USER and removes it afterwards.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath);
        Put("Empty", REG_NONE, "");
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchPath); }
};

TEST_F(RegistryTest, AKeyClosesWithItsLastHolderAndAnEmptyValueGetsABlockOfItsOwn) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchPath, 0, KEY_READ, &key));
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
    }
    // Closed once the last holder went.
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegQueryValueExA(key, "Empty", nullptr, nullptr, nullptr, nullptr));
}

// Beyond what the settings show: a read stays within its size, and other lengths are refused.
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
