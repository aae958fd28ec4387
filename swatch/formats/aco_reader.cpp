#include "swatch/formats/aco_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "swatch/byte_reader.h"
#include "swatch/swatch_names.h"

namespace {

constexpr std::size_t kRecordSize = 10;
// Files of this version hold only named records; every other version is read as plain records.
constexpr std::uint16_t kNamedVersion = 2;

bool ReadRecord(ByteReader& in, SwatchEntry* entry) {
    std::uint8_t record[kRecordSize];
    if (!in.Bytes(record, sizeof record)) {
        return false;  // a partial record at the end is dropped
    }
    entry->colourSpace = static_cast<std::uint16_t>(record[0] << 8 | record[1]);
    std::memcpy(entry->components, record + 2, sizeof entry->components);
    return true;
}

// A record and its name. A name said to run past the end of the file stops the read at once,
// without reading on to the end: that record does not count. `take`: the record goes into the
// palette too, not only its name.
bool ReadNamedRecord(ByteReader& in, Palette& out, bool take) {
    SwatchEntry entry;
    std::uint32_t length = 0;
    if (!ReadRecord(in, &entry) || !in.BE32(&length) || std::uint64_t{length} * 2 > in.Left()) {
        return false;
    }
    char16_t name[SwatchNames::kReadUnits];
    const std::size_t read = out.WantsNames() ? std::min<std::size_t>(length, std::size(name)) : 0;
    for (std::size_t i = 0; i < read; ++i) {
        std::uint16_t unit = 0;
        if (!in.BE16(&unit)) {
            return false;
        }
        name[i] = unit;
    }
    if (!in.Skip(2 * (std::uint64_t{length} - read))) {
        return false;
    }
    if (take) {
        out.Add(entry);
    }
    out.AddName({name, read});
    return true;
}

// The names of a version-1 file: a version-2 section after the plain records, naming no more
// records than the plain section holds, position by position.
void ReadNameSection(ByteReader& in, Palette& out, std::uint16_t count) {
    std::uint16_t version = 0;
    std::uint16_t named = 0;
    if (!in.BE16(&version) || !in.BE16(&named) || version != kNamedVersion) {
        return;
    }
    for (std::uint16_t i = 0; i < std::min(count, named); ++i) {
        if (!ReadNamedRecord(in, out, false)) {
            return;  // this record and all after it go without names
        }
    }
}

}  // namespace

ReadOutcome ReadAco(ByteReader& in, Palette& out) {
    std::uint16_t version = 0;
    std::uint16_t count = 0;
    // A file too short to hold the record count is refused like an empty one.
    if (!in.BE16(&version) || !in.BE16(&count)) {
        return kDamagedFile;
    }
    if (count == 0) {
        return {false, SWATCH_E_COUNT};
    }
    if (!out.Reserve(count)) {
        return {false, SWATCH_E_NO_MEMORY};
    }
    // From here on the load finishes, whatever the file holds.
    const bool named = version == kNamedVersion;
    for (bool more = true; more && !out.IsFull();) {
        SwatchEntry entry;
        more = named ? ReadNamedRecord(in, out, true) : ReadRecord(in, &entry) && out.Add(entry);
    }
    // A failed read outranks any colour-space warning; what the names section meets does not
    // count.
    LoadStatus status = in.Failed() ? SWATCH_E_READ : out.Warnings();
    if (!named && out.WantsNames() && out.IsFull()) {
        ReadNameSection(in, out, count);
    }
    if (out.Count() != count) {
        status |= SWATCH_E_COUNT;
    }
    if (status != 0) {
        status |= SWATCH_E_READ;
    }
    return {true, status};
}
