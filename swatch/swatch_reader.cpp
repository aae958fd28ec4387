#include "swatch/swatch_table.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "swatch/swatch_file.h"

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kRecordSize = 10;
constexpr std::size_t kNameLengthSize = 4;
constexpr std::size_t kChunkSize = 100;
// Files of this version hold only named records; every other version is read as plain records.
constexpr std::uint16_t kNamedVersion = 2;

std::uint16_t ReadBE16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t ReadBE32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

bool IsFlaggedColourSpace(std::uint16_t colourSpace) {
    return (colourSpace >= 3 && colourSpace <= 8) || colourSpace == 4096;
}

// Turns the file's bytes, as they arrive chunk by chunk, into entries. A named record's colour
// comes first and its name after it, so a record counts only once its name has been passed over
// too; fields may straddle chunks. Takes nothing once the entry array is full, or once a name runs
// past the end of the file, which would otherwise be read to its end for nothing.
class RecordReader {
  public:
    // `fileLeft`: the bytes of the file after the header.
    RecordReader(SwatchEntry* entries, std::uint16_t capacity, bool named, std::uint64_t fileLeft)
        : entries_(entries), capacity_(capacity), named_(named), fileLeft_(fileLeft) {}

    void Take(const std::uint8_t* data, std::size_t size);
    bool IsDone() const { return found_ == capacity_ || nameCutOff_; }
    std::uint16_t Found() const { return found_; }
    // SWATCH_E_UNSUPPORTED if a record taken has a flagged colour space, else 0.
    LoadStatus Flags() const { return flags_; }

  private:
    enum class Field { kRecord, kNameLength, kName };

    void Accept();

    SwatchEntry* entries_;  // borrowed: the table's new array
    std::uint16_t capacity_;
    bool named_;
    std::uint64_t fileLeft_;  // bytes of the file not yet taken, as far as its size was known
    bool nameCutOff_ = false;
    Field field_ = Field::kRecord;
    std::uint8_t partial_[kRecordSize] = {};
    std::size_t partialSize_ = 0;
    std::uint64_t nameBytesLeft_ = 0;  // up to twice 0xFFFFFFFF
    SwatchEntry record_ = {};
    std::uint16_t found_ = 0;
    LoadStatus flags_ = 0;
};

void RecordReader::Take(const std::uint8_t* data, std::size_t size) {
    const std::uint64_t leftAtStart = fileLeft_;
    fileLeft_ -= std::min<std::uint64_t>(fileLeft_, size);
    std::size_t pos = 0;
    while (pos < size && !IsDone()) {
        if (field_ == Field::kName) {
            const std::size_t skip =
                static_cast<std::size_t>(std::min<std::uint64_t>(nameBytesLeft_, size - pos));
            pos += skip;
            nameBytesLeft_ -= skip;
            if (nameBytesLeft_ == 0) {
                Accept();
            }
            continue;
        }
        const std::size_t fieldSize = field_ == Field::kRecord ? kRecordSize : kNameLengthSize;
        const std::size_t take = std::min(fieldSize - partialSize_, size - pos);
        std::memcpy(partial_ + partialSize_, data + pos, take);
        partialSize_ += take;
        pos += take;
        if (partialSize_ < fieldSize) {
            return;
        }
        partialSize_ = 0;
        if (field_ == Field::kRecord) {
            record_.colourSpace = ReadBE16(partial_);
            std::memcpy(record_.components, partial_ + 2, sizeof record_.components);
            if (named_) {
                field_ = Field::kNameLength;
            } else {
                Accept();
            }
        } else {
            // The length counts two-byte units.
            nameBytesLeft_ = std::uint64_t{ReadBE32(partial_)} * 2;
            if (nameBytesLeft_ > leftAtStart - std::min<std::uint64_t>(leftAtStart, pos)) {
                nameCutOff_ = true;  // a cut-off name: its record does not count
            } else if (nameBytesLeft_ == 0) {
                Accept();
            } else {
                field_ = Field::kName;
            }
        }
    }
}

void RecordReader::Accept() {
    entries_[found_++] = record_;
    if (IsFlaggedColourSpace(record_.colourSpace)) {
        flags_ |= SWATCH_E_UNSUPPORTED;
    }
    field_ = Field::kRecord;
}

}  // namespace

bool SwatchTable::SetFileName(const char* fileName) {
    fileName_ = fileName;
    return true;
}

bool SwatchTable::Load() {
    if (fileName_ == nullptr) {
        status_ = 0;
        return false;
    }
    SwatchFile file;
    if (const std::uint32_t error = file.Open(fileName_); error != 0) {
        status_ = SWATCH_E_READ | error;
        return false;
    }

    std::uint8_t header[kHeaderSize];
    std::uint32_t got = 0;
    // A file too short to hold the record count is refused like an empty one.
    if (!file.Read(header, sizeof header, &got) || got < sizeof header) {
        status_ = SWATCH_E_READ;
        return false;
    }
    const std::uint16_t version = ReadBE16(header);
    const std::uint16_t headerCount = ReadBE16(header + 2);
    if (headerCount == 0) {
        status_ = SWATCH_E_COUNT;
        return false;
    }
    std::unique_ptr<SwatchEntry[]> entries(new (std::nothrow) SwatchEntry[headerCount]);
    if (!entries) {
        status_ = SWATCH_E_NO_MEMORY;
        return false;
    }

    // From here on the load finishes and the table takes the new array, whatever the file holds.
    entries_ = std::move(entries);
    std::uint64_t fileSize = 0;
    if (!file.Size(&fileSize)) {
        fileSize = UINT64_MAX;  // unknown: names are then passed over to the end of the file
    }
    RecordReader reader(entries_.get(), headerCount, version == kNamedVersion,
                        fileSize - std::min<std::uint64_t>(fileSize, sizeof header));
    bool readFailed = false;
    std::uint8_t chunk[kChunkSize];
    // Ends at the end of the file, at a short or failed read, once the array is full or at a name
    // past the end; every pass consumes what it read.
    while (!reader.IsDone()) {
        if (!file.Read(chunk, sizeof chunk, &got)) {
            readFailed = true;
            break;
        }
        reader.Take(chunk, got);
        if (got < sizeof chunk) {
            break;
        }
    }

    // A failed read outranks any colour-space warning.
    LoadStatus status = readFailed ? SWATCH_E_READ : reader.Flags();
    if (reader.Found() != headerCount) {
        status |= SWATCH_E_COUNT;
    }
    if (status != 0) {
        status |= SWATCH_E_READ;
    }
    status_ = status;
    count_ = reader.Found();
    loaded_ = true;
    return true;
}
