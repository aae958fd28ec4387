#pragma once

#include <windows.h>

#include "registry/counted_handle.h"
#include "registry/win32_exception.h"

namespace Marrowset {

// One open registry key. Copies share a counted holder; the last copy to go closes the key.
// Every failing operation throws CRegistryKey::Exception naming the operation and the Win32 code.
class CRegistryKey {
  public:
    class Exception : public CWin32Exception {
      public:
        using CWin32Exception::CWin32Exception;
    };

    // Opens root\subKey; with a machine name, on that machine's registry.
    CRegistryKey(HKEY root, const char* subKey, REGSAM access, const char* machineName = nullptr);
    // Takes ownership of an open key, even when it throws: the key is then already closed.
    explicit CRegistryKey(HKEY key);
    CRegistryKey(const CRegistryKey& other);
    // Nothing needs to retarget a key; refusing assignment keeps the count simple to follow.
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey();

    CRegistryKey CreateOrOpenKey(const char* subKey, DWORD* disposition, const char* className,
                                 DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security);
    // Like CreateOrOpenKey, but a subkey that already exists is a failure (ERROR_ALREADY_EXISTS).
    CRegistryKey CreateKey(const char* subKey, const char* className, DWORD options, REGSAM access,
                           LPSECURITY_ATTRIBUTES security);

    // For a REG_BINARY or REG_NONE value: hands over a malloc'd block (never null, even for an
    // empty value) that the caller frees, and its length, and returns true. For any other type:
    // returns false and writes nothing.
    bool QueryValue(const char* name, BYTE** data, DWORD* length = nullptr);
    // Always stores REG_BINARY.
    void SetValue(const char* name, const BYTE* data, DWORD length);

    // For a REG_SZ value whose text ends in its one terminating zero and, with it, fits `size`
    // bytes: copies it into `text` and returns true. For another type, or a value that is empty,
    // unterminated, holds a zero inside or does not fit: returns false, and what `text` holds is
    // not a value. Never writes past `size` bytes.
    bool QueryStringValue(const char* name, char* text, DWORD size);
    // Stores `text` with its terminating zero as REG_SZ.
    void SetStringValue(const char* name, const char* text);

    // For a REG_DWORD value: its number into `value` and true. For another type: false, and
    // `value` untouched.
    bool QueryDwordValue(const char* name, DWORD* value);

    // A holder for the key with a count of 1. If none can be made, the key is closed.
    static CCountedRegKey* NewCCountedRegKey(HKEY key);

  private:
    CCountedRegKey* holder;
};

}  // namespace Marrowset
