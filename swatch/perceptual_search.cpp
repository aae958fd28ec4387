#include "swatch/swatch_table.h"

#include "swatch/match/ciede2000.h"
#include "swatch/match/lab.h"

COLORREF SwatchTable::FindPerceptualColour(COLORREF colour, std::size_t* position) {
    std::size_t found = count_;
    if (!loaded_) {
        status_ = SWATCH_E_NOT_LOADED;
    } else {
        found = perceptual_.Find(entries_.get(), count_, SrgbToLab(colour));
        cursor_ = count_;
    }
    if (position != nullptr) {
        *position = found;
    }
    if (found >= count_) {
        return SWATCH_NO_COLOUR;
    }
    COLORREF shown = SWATCH_NO_COLOUR;
    EntryToSrgb(entries_[found], &shown);
    return shown;
}

const SwatchEntry* SwatchTable::EntryAt(std::size_t position) const {
    return position < count_ ? &entries_[position] : nullptr;
}

double SwatchTable::DeltaE(COLORREF user, std::size_t position) const {
    const SwatchEntry* entry = EntryAt(position);
    Lab lab;
    if (entry == nullptr || !EntryToLab(*entry, &lab)) {
        return -1;
    }
    return Ciede2000(SrgbToLab(user), lab);
}
