#include "swatch/swatch_table.h"

#include "swatch/byte_reader.h"
#include "swatch/formats/palette_reader.h"
#include "swatch/swatch_file.h"
#include "swatch/swatch_names.h"

bool SwatchTable::SetFileName(const char* fileName) {
    fileName_ = fileName;
    return true;
}

bool SwatchTable::Load() {
    return Load(nullptr);
}

bool SwatchTable::Load(SwatchNames* names) {
    if (fileName_ == nullptr) {
        status_ = 0;
        return false;
    }
    SwatchFile file;
    if (const std::uint32_t error = file.Open(fileName_); error != 0) {
        status_ = SWATCH_E_READ | error;
        return false;
    }
    ByteReader in(file);
    SwatchNames found;
    Palette palette(names != nullptr ? &found : nullptr);
    const ReadOutcome outcome = ReadPalette(in, fileName_, palette);
    status_ = outcome.status;
    if (!outcome.loaded) {
        return false;
    }
    entries_ = palette.TakeEntries();
    count_ = static_cast<std::uint16_t>(palette.Count());
    loaded_ = true;
    perceptual_.Build(entries_.get(), count_);
    if (names != nullptr) {
        *names = std::move(found);
    }
    return true;
}
