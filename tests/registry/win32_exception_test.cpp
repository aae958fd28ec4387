#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "registry/registry_key.h"
#include "tests/registry/import_hook.h"

namespace {

using Marrowset::CRegistryKey;
using Marrowset::CWin32Exception;

std::string SystemText(DWORD code) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, text, sizeof(text) - 1, nullptr);
    return text;
}

TEST(Win32Exception, BaseHandlerReceivesRegistryExceptionWithSystemTextUntouched) {
    try {
        throw CRegistryKey::Exception(nullptr, 100);
    } catch (const CWin32Exception& caught) {
        CWin32Exception copy = caught;
        EXPECT_EQ(nullptr, copy.GetLocation());
        EXPECT_EQ(100u, copy.GetErrorCode());
        ASSERT_FALSE(SystemText(100).empty());
        EXPECT_EQ(SystemText(100), copy.GetErrorText());
    }
}

TEST(Win32Exception, TextsShareOneBufferThatTheNextCallOverwrites) {
    CWin32Exception notFound("first", ERROR_FILE_NOT_FOUND);
    CRegistryKey::Exception denied("second", ERROR_ACCESS_DENIED);
    const char* first = notFound.GetErrorText();
    const char* second = denied.GetErrorText();
    EXPECT_EQ(first, second);
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED), first);
}

// Each failed lookup is followed by a lookup of the code it failed with; a system that never
// finds a text must still get an answer.
struct NoMessageTexts {
    static int lookups;
    static DWORD codes[2];
    static DWORD WINAPI FormatMessage(DWORD, LPCVOID, DWORD code, DWORD, LPSTR text, DWORD,
                                      va_list*) {
        if (lookups < 2) {
            codes[lookups] = code;
        }
        if (++lookups > 100) {
            strcpy(text, "looping");
            return 7;
        }
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
};
int NoMessageTexts::lookups = 0;
DWORD NoMessageTexts::codes[2] = {};

TEST(Win32Exception, GivesUpOnAFailingLookupWithAFixedText) {
    NoMessageTexts::lookups = 0;
    std::string text;
    {
        ImportHook hook("kernel32.dll", "FormatMessageA", &NoMessageTexts::FormatMessage);
        text = CWin32Exception("lookup", 0xE0001234).GetErrorText();
    }
    ASSERT_GT(NoMessageTexts::lookups, 1);
    EXPECT_EQ(static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND), NoMessageTexts::codes[1]);
    EXPECT_LE(NoMessageTexts::lookups, 10);
    EXPECT_NE("looping", text);
    EXPECT_FALSE(text.empty());
}

}  // namespace
