#include "registry/win32_exception.h"

#include <string.h>

namespace Marrowset {

namespace {

char errorText[512];

// A failed lookup is followed by a lookup of the code it failed with, so that the text at least
// explains the failure; a code whose lookup fails with that same code would otherwise go round
// for ever.
const int kMaxLookups = 4;
const char kFallbackText[] = "No message text is available for this error.\r\n";
static_assert(sizeof(kFallbackText) < sizeof(errorText), "fallback text must fit the buffer");

}  // namespace

CWin32Exception::CWin32Exception(const char* failedAt, DWORD code)
    : location(failedAt), errorCode(code) {}

const char* CWin32Exception::GetErrorText() const {
    DWORD code = errorCode;
    for (int lookup = 0; lookup < kMaxLookups; ++lookup) {
        // One character short of the buffer, so the call never writes its last byte.
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, errorText,
                           sizeof(errorText) - 1, nullptr) != 0) {
            return errorText;
        }
        code = GetLastError();
    }
    memcpy(errorText, kFallbackText, sizeof(kFallbackText));
    return errorText;
}

}  // namespace Marrowset
