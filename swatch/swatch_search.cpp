#include "swatch/swatch_table.h"

#include "swatch/match/closest_rgb.h"

bool SwatchTable::GetFirstEntry(const SwatchEntry** out) {
    if (out == nullptr) {
        return false;
    }
    cursor_ = 0;
    if (count_ == 0) {
        return false;
    }
    *out = &entries_[0];
    return true;
}

bool SwatchTable::GetNextEntry(const SwatchEntry** out) {
    if (out == nullptr) {
        return false;
    }
    // The cursor stops at the end: a 16-bit position that went on counting would wrap to 0 and
    // start the walk over.
    if (cursor_ < count_) {
        ++cursor_;
    }
    if (cursor_ >= count_) {
        return false;
    }
    *out = &entries_[cursor_];
    return true;
}

COLORREF SwatchTable::EntryToColour(const SwatchEntry* entry) {
    if (entry == nullptr || entry->colourSpace != 0) {
        return SWATCH_NO_COLOUR;
    }
    return static_cast<COLORREF>(entry->components[0]) |
           static_cast<COLORREF>(entry->components[2]) << 8 |
           static_cast<COLORREF>(entry->components[4]) << 16;
}

bool SwatchTable::ColourToEntry(COLORREF colour, SwatchEntry* out, std::uint16_t colourSpace) {
    if (out == nullptr) {
        return false;
    }
    out->colourSpace = colourSpace;
    out->components[0] = static_cast<std::uint8_t>(colour & 0xFF);
    out->components[2] = static_cast<std::uint8_t>(colour >> 8 & 0xFF);
    out->components[4] = static_cast<std::uint8_t>(colour >> 16 & 0xFF);
    return true;
}

const SwatchEntry* SwatchTable::FindClosestEntry(const SwatchEntry* target) {
    if (!loaded_) {
        status_ = SWATCH_E_NOT_LOADED;
        return nullptr;
    }
    const SwatchEntry* first = nullptr;
    if (!GetFirstEntry(&first)) {
        return nullptr;
    }
    const COLORREF colour = EntryToColour(target);
    if (colour == SWATCH_NO_COLOUR) {
        return nullptr;
    }
    const std::size_t best = FindClosestRgb(entries_.get(), count_, colour);
    // Where a walk over every entry with GetNextEntry would have left it.
    cursor_ = count_;
    return best < count_ ? &entries_[best] : nullptr;
}

COLORREF SwatchTable::FindClosestEntryColour(const SwatchEntry* target) {
    return EntryToColour(FindClosestEntry(target));
}

COLORREF SwatchTable::FindClosestColour(COLORREF colour) {
    return FindClosestColour(colour, nullptr);
}

COLORREF SwatchTable::FindClosestColour(COLORREF colour, std::size_t* position) {
    SwatchEntry target = {};
    ColourToEntry(colour, &target, 0);
    const SwatchEntry* found = FindClosestEntry(&target);
    if (position != nullptr) {
        *position = found != nullptr ? static_cast<std::size_t>(found - entries_.get()) : count_;
    }
    return EntryToColour(found);
}
