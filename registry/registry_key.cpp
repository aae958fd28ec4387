#include "registry/registry_key.h"

#include <stdlib.h>
#include <string.h>

#include <memory>
#include <new>

namespace Marrowset {

namespace {

const char kQueryValueText[] = "CRegistryKey::QueryValue()";

// The root handle RegConnectRegistryA gives for another machine; only needed until the subkey
// is open.
class ConnectedRoot {
  public:
    ConnectedRoot() = default;
    ConnectedRoot(const ConnectedRoot&) = delete;
    ConnectedRoot& operator=(const ConnectedRoot&) = delete;
    ~ConnectedRoot() {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }

    HKEY key = nullptr;
};

struct FreeBlock {
    void operator()(BYTE* block) const { free(block); }
};

}  // namespace

CRegistryKey::CRegistryKey(HKEY root, const char* subKey, REGSAM access, const char* machineName)
    : holder(nullptr) {
    ConnectedRoot connected;
    if (machineName != nullptr) {
        LONG result = RegConnectRegistryA(machineName, root, &connected.key);
        if (result != ERROR_SUCCESS) {
            throw Exception("CRegistryKey::CRegistryKey() - RegConnectRegistry",
                            static_cast<DWORD>(result));
        }
        root = connected.key;
    }
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, subKey, 0, access, &key);
    if (result != ERROR_SUCCESS) {
        throw Exception("CRegistryKey::CRegistryKey(HKEY hKey ...)", static_cast<DWORD>(result));
    }
    holder = NewCCountedRegKey(key);
}

CRegistryKey::CRegistryKey(HKEY key) : holder(NewCCountedRegKey(key)) {}

CRegistryKey::CRegistryKey(const CRegistryKey& other) : holder(other.holder) {
    InterlockedIncrement(&holder->refCount);
}

CRegistryKey::~CRegistryKey() {
    if (InterlockedDecrement(&holder->refCount) != 0) {
        return;
    }
    try {
        holder->Close();
    } catch (...) {
        // A release runs in destructors, often during unwinding: nothing may leave it.
    }
    delete holder;
}

CCountedRegKey* CRegistryKey::NewCCountedRegKey(HKEY key) {
    CCountedRegKey* made = nullptr;
    try {
        made = new CCountedRegKey(key);
    } catch (const std::bad_alloc&) {
    }
    if (made == nullptr) {
        RegCloseKey(key);
        throw Exception("CRegistryKey::NewCCountedRegKey()", ERROR_NOT_ENOUGH_MEMORY);
    }
    return made;
}

CRegistryKey CRegistryKey::CreateOrOpenKey(const char* subKey, DWORD* disposition,
                                           const char* className, DWORD options, REGSAM access,
                                           LPSECURITY_ATTRIBUTES security) {
    DWORD ownDisposition = 0;
    if (disposition == nullptr) {
        disposition = &ownDisposition;
    }
    HKEY key = nullptr;
    // The class text is only read; the A function's parameter merely lacks the const.
    LONG result = RegCreateKeyExA(holder->hKey, subKey, 0, const_cast<LPSTR>(className), options,
                                  access, security, &key, disposition);
    if (result != ERROR_SUCCESS) {
        throw Exception("CRegistryKey::CreateOrOpenKey()", static_cast<DWORD>(result));
    }
    return CRegistryKey(key);
}

CRegistryKey CRegistryKey::CreateKey(const char* subKey, const char* className, DWORD options,
                                     REGSAM access, LPSECURITY_ATTRIBUTES security) {
    DWORD disposition = 0;
    CRegistryKey created =
        CreateOrOpenKey(subKey, &disposition, className, options, access, security);
    if (disposition != REG_CREATED_NEW_KEY) {
        // Unwinding releases `created`, which closes the key that was merely opened.
        throw Exception("CRegistryKey::CreateKey()", ERROR_ALREADY_EXISTS);
    }
    return created;
}

bool CRegistryKey::QueryValue(const char* name, BYTE** data, DWORD* length) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExA(holder->hKey, name, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    if (type != REG_BINARY && type != REG_NONE) {
        return false;
    }
    // malloc(0) may answer null, which a caller would take for data; an empty value still gets
    // a block of its own.
    std::unique_ptr<BYTE, FreeBlock> block(static_cast<BYTE*>(malloc(size != 0 ? size : 1)));
    if (!block) {
        throw Exception(kQueryValueText, ERROR_NOT_ENOUGH_MEMORY);
    }
    result = RegQueryValueExA(holder->hKey, name, nullptr, &type, block.get(), &size);
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    *data = block.release();
    if (length != nullptr) {
        *length = size;
    }
    return true;
}

void CRegistryKey::SetValue(const char* name, const BYTE* data, DWORD length) {
    LONG result = RegSetValueExA(holder->hKey, name, 0, REG_BINARY, data, length);
    if (result != ERROR_SUCCESS) {
        throw Exception("CRegistryKey::SetValue()", static_cast<DWORD>(result));
    }
}

CRegistryKey::BinaryRead CRegistryKey::QueryBinaryValue(const char* name, void* data, DWORD size) {
    BYTE* block = nullptr;
    DWORD length = 0;
    if (!QueryValue(name, &block, &length)) {
        return BinaryRead::kOtherType;
    }
    std::unique_ptr<BYTE, FreeBlock> held(block);
    if (length < size) {
        return BinaryRead::kTooShort;
    }
    memcpy(data, block, size);
    return BinaryRead::kRead;
}

bool CRegistryKey::QueryBinaryValueUpTo(const char* name, void* data, DWORD capacity,
                                        DWORD* length) {
    DWORD type = REG_NONE;
    DWORD size = capacity;
    LONG result =
        RegQueryValueExA(holder->hKey, name, nullptr, &type, static_cast<BYTE*>(data), &size);
    if (result == ERROR_MORE_DATA) {
        return false;
    }
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    *length = size;
    return type == REG_BINARY;
}

bool CRegistryKey::QueryDwordValue(const char* name, DWORD* value) {
    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof number;
    LONG result = RegQueryValueExA(holder->hKey, name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(&number), &size);
    if (result == ERROR_MORE_DATA) {
        return false;
    }
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    if (type != REG_DWORD || size != sizeof number) {
        return false;
    }
    *value = number;
    return true;
}

void CRegistryKey::SetDwordValue(const char* name, DWORD value) {
    LONG result = RegSetValueExA(holder->hKey, name, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (result != ERROR_SUCCESS) {
        throw Exception("CRegistryKey::SetDwordValue()", static_cast<DWORD>(result));
    }
}

bool CRegistryKey::QueryStringValue(const char* name, char* text, DWORD size) {
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExA(holder->hKey, name, nullptr, &type, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    if (type != REG_SZ) {
        return false;
    }
    // The measured length of a text may exceed what the A function then hands out, so the
    // buffer itself is offered and a value too long for it is answered by the system.
    DWORD length = size;
    result = RegQueryValueExA(holder->hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                              &length);
    if (result == ERROR_MORE_DATA) {
        return false;
    }
    if (result != ERROR_SUCCESS) {
        throw Exception(kQueryValueText, static_cast<DWORD>(result));
    }
    // A zero the system may add after an unterminated text lies past `length` and counts not.
    return type == REG_SZ && length != 0 && length <= size &&
           memchr(text, '\0', length) == text + length - 1;
}

void CRegistryKey::SetStringValue(const char* name, const char* text) {
    LONG result = RegSetValueExA(holder->hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(strlen(text) + 1));
    if (result != ERROR_SUCCESS) {
        throw Exception("CRegistryKey::SetStringValue()", static_cast<DWORD>(result));
    }
}

}  // namespace Marrowset
