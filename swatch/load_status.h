#pragma once

#include <cstdint>

// Outcome of the last load: 0, or 0xE0000000 with one or more of the flags below. A failed open
// keeps SWATCH_E_READ with the Win32 error code ORed in, so the words of a failed load and of a
// finished one can coincide: only the result of Load tells them apart.
typedef std::uint32_t LoadStatus;

constexpr LoadStatus SWATCH_E_UNSUPPORTED = 0xE0000001;
constexpr LoadStatus SWATCH_E_NO_MEMORY = 0xE0000002;
constexpr LoadStatus SWATCH_E_COUNT = 0xE0000004;
constexpr LoadStatus SWATCH_E_READ = 0xE0000008;
// Deliberately the same number as SWATCH_E_COUNT | SWATCH_E_READ: only the result of Load tells
// the two apart.
constexpr LoadStatus SWATCH_E_NOT_LOADED = 0xE000000C;

namespace LoadFlags {
// The bits below the 0xE0000000 mark.
constexpr LoadStatus Of(LoadStatus status) {
    return status & 0x1FFFFFFF;
}
}  // namespace LoadFlags

// For a load that returned true: which warning it brings, if any.
constexpr bool HasUnsupportedWarning(LoadStatus status) {
    return (LoadFlags::Of(status) & LoadFlags::Of(SWATCH_E_UNSUPPORTED)) != 0;
}
constexpr bool HasCountWarning(LoadStatus status) {
    return (LoadFlags::Of(status) & LoadFlags::Of(SWATCH_E_COUNT)) != 0;
}

// For a load that returned false: what went wrong.
enum class LoadFailure { kNoMemory, kNoColours, kDamaged, kNotFound, kCannotOpen };

// The Win32 code a missing file is reported with.
constexpr LoadStatus kFileNotFoundCode = 2;

constexpr LoadFailure FailureOf(LoadStatus status) {
    switch (status) {
    case SWATCH_E_NO_MEMORY:
        return LoadFailure::kNoMemory;
    case SWATCH_E_COUNT:
        return LoadFailure::kNoColours;
    case SWATCH_E_READ:
        return LoadFailure::kDamaged;
    case SWATCH_E_READ | kFileNotFoundCode:
        return LoadFailure::kNotFound;
    default:
        // A missing folder, a refused access, a file in use: the open itself failed.
        return LoadFailure::kCannotOpen;
    }
}
