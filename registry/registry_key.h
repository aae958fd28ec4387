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

    enum class BinaryRead { kRead, kOtherType, kTooShort };
    // For a REG_BINARY or REG_NONE value of at least `size` bytes: copies its first `size` bytes
    // into `data` (further bytes are not looked at) and answers kRead. A value of another type
    // answers kOtherType, a shorter one kTooShort; `data` is then untouched. A missing value
    // throws, as for QueryValue.
    BinaryRead QueryBinaryValue(const char* name, void* data, DWORD size);

    // For a REG_BINARY value of at most `capacity` bytes: copies it into `data`, its length into
    // `length`, and returns true. For another type or a longer value: returns false; what `data`
    // holds is then not a value. A missing value throws.
    bool QueryBinaryValueUpTo(const char* name, void* data, DWORD capacity, DWORD* length);

    // For a REG_DWORD value of exactly four bytes: copies it into `value` and returns true. For
    // another type or size: returns false and writes nothing. A missing value throws.
    bool QueryDwordValue(const char* name, DWORD* value);
    void SetDwordValue(const char* name, DWORD value);

    // For a REG_SZ value whose text ends in its one terminating zero and, with it, fits `size`
    // bytes: copies it into `text` and returns true. For another type, or a value that is empty,
    // unterminated, holds a zero inside or does not fit: returns false, and what `text` holds is
    // not a value. Never writes past `size` bytes.
    bool QueryStringValue(const char* name, char* text, DWORD size);
    // Stores `text` with its terminating zero as REG_SZ.
    void SetStringValue(const char* name, const char* text);

    // A holder for the key with a count of 1. If none can be made, the key is closed.
    static CCountedRegKey* NewCCountedRegKey(HKEY key);

  private:
    CCountedRegKey* holder;
};

}  // namespace Marrowset
