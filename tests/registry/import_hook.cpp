#include "tests/registry/import_hook.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

void Store(ULONG_PTR* slot, ULONG_PTR value) {
    DWORD oldProtection = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &oldProtection);
    *slot = value;
    VirtualProtect(slot, sizeof(*slot), oldProtection, &oldProtection);
}

}  // namespace

ImportHook::ImportHook(const char* dll, const char* function, ULONG_PTR replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    // A DLL may have several import descriptors; every slot for the function is redirected.
    for (auto* descriptor =
             reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + descriptor->Name), dll) != 0) {
            continue;
        }
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) {
                continue;
            }
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0) {
                slots.push_back(&slot->u1.Function);
            }
        }
    }
    // Without the slot the test would silently watch nothing.
    if (slots.empty()) {
        fprintf(stderr, "no import of %s from %s to hook\n", function, dll);
        abort();
    }
    original = *slots.front();
    for (ULONG_PTR* each : slots) {
        Store(each, replacement);
    }
}

ImportHook::~ImportHook() {
    for (ULONG_PTR* each : slots) {
        Store(each, original);
    }
}
