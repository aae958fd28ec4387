#include "swatch/formats/palette.h"

#include <algorithm>
#include <new>

#include "swatch/colour_space.h"
#include "swatch/swatch_names.h"

bool Palette::Reserve(std::size_t count) {
    count = std::min(count, kMaxRecords);
    entries_.reset(new (std::nothrow) SwatchEntry[count]);
    capacity_ = entries_ ? count : 0;
    count_ = 0;
    return entries_ != nullptr;
}

bool Palette::Add(const SwatchEntry& entry) {
    if (count_ == capacity_) {
        return false;
    }
    entries_[count_++] = entry;
    if (ColourSpace::WarnsOnLoad(entry.colourSpace)) {
        warnings_ = SWATCH_E_UNSUPPORTED;
    }
    return true;
}

void Palette::AddName(std::u16string_view name) {
    if (names_ != nullptr) {
        names_->Add(name);
    }
}
