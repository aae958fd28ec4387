#include "swatch/formats/ase_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "swatch/byte_reader.h"
#include "swatch/colour_space.h"
#include "swatch/swatch_names.h"

namespace {

constexpr std::uint16_t kMajorVersion = 1;
constexpr std::uint16_t kColourBlock = 0x0001;
constexpr std::uint16_t kGroupStart = 0xC001;
constexpr std::uint16_t kGroupEnd = 0xC002;
// Type, length, an empty name and a model: the least a colour takes, which bounds the records a
// file of its size can hold.
constexpr std::uint64_t kSmallestColourBlock = 12;
constexpr std::size_t kNameUnits = SwatchNames::kReadUnits;

// The contents of one block: every read is checked against the block's length as well as the
// file's, and what a reader leaves of it is passed over.
class Block {
  public:
    Block(ByteReader& in, std::uint32_t length) : in_(in), left_(length) {}

    bool Bytes(void* out, std::uint32_t size) { return Take(size) && in_.Bytes(out, size); }
    bool BE16(std::uint16_t* out) { return Take(2) && in_.BE16(out); }
    bool FloatBE(float* out) { return Take(4) && in_.FloatBE(out); }
    bool Skip(std::uint32_t size) { return Take(size) && in_.Skip(size); }
    bool SkipRest() { return Skip(left_); }
    bool Empty() const { return left_ == 0; }

  private:
    bool Take(std::uint32_t size) {
        if (size > left_) {
            return false;
        }
        left_ -= size;
        return true;
    }

    ByteReader& in_;
    std::uint32_t left_;
};

// A name: its length in UTF-16 units, the closing zero counted, then the units. Keeps up to
// kNameUnits of them, up to the first zero.
bool ReadName(Block& block, char16_t* name, std::size_t* kept) {
    std::uint16_t units = 0;
    if (!block.BE16(&units)) {
        return false;
    }
    const std::uint16_t read = static_cast<std::uint16_t>(std::min<std::size_t>(units, kNameUnits));
    std::uint8_t bytes[2 * kNameUnits];
    if (!block.Bytes(bytes, 2u * read)) {
        return false;
    }
    *kept = 0;
    for (std::uint16_t i = 0; i < read && (bytes[2 * i] | bytes[2 * i + 1]) != 0; ++i) {
        name[(*kept)++] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    }
    return block.Skip(2u * (units - read));
}

// A share 0..1 of `full`, rounded; out of range and not-a-number clamped.
std::uint16_t Scaled(float share, float full) {
    if (!(share > 0)) {
        return 0;
    }
    return static_cast<std::uint16_t>(share >= 1 ? full : std::lround(share * full));
}

// Lab's a and b, -128..127, as the signed hundredths of a swatch file.
std::uint16_t Hundredths(float value) {
    if (!(std::fabs(value) <= 327.67f)) {
        value = std::isnan(value) ? 0 : std::copysign(327.67f, value);
    }
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 100)));
}

bool ReadFloats(Block& block, float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!block.FloatBE(&values[i])) {
            return false;
        }
    }
    return true;
}

// The colour's values in its model, as a swatch file stores them; a model not known here gives
// a record that warns and is never matched.
bool ReadColour(Block& block, const char (&model)[4], SwatchEntry* entry) {
    float v[4] = {};
    const auto is = [&model](const char* name) { return std::memcmp(model, name, 4) == 0; };
    if (is("RGB ")) {
        if (!ReadFloats(block, v, 3)) {
            return false;
        }
        *entry = MakeSwatchEntry(ColourSpace::kRgb, Scaled(v[0], 65535), Scaled(v[1], 65535),
                                 Scaled(v[2], 65535));
    } else if (is("CMYK")) {
        // A swatch file's inks are inverted: 0 is full ink.
        if (!ReadFloats(block, v, 4)) {
            return false;
        }
        *entry =
            MakeSwatchEntry(ColourSpace::kCmyk, Scaled(1 - v[0], 65535), Scaled(1 - v[1], 65535),
                            Scaled(1 - v[2], 65535), Scaled(1 - v[3], 65535));
    } else if (is("LAB ")) {
        if (!ReadFloats(block, v, 3)) {
            return false;
        }
        *entry = MakeSwatchEntry(ColourSpace::kLab, Scaled(v[0], 10000), Hundredths(v[1]),
                                 Hundredths(v[2]));
    } else if (is("Gray")) {
        // 1 is white here, 0 in a swatch file.
        if (!ReadFloats(block, v, 1)) {
            return false;
        }
        *entry = MakeSwatchEntry(ColourSpace::kGrey, Scaled(1 - v[0], 10000), 0, 0);
    } else {
        *entry = MakeSwatchEntry(ColourSpace::kUnknownModel, 0, 0, 0);
    }
    return true;
}

// "Group / Name" where the colour is in a group with a name; a colour without a name has none.
void AddName(Palette& out, const char16_t* group, std::size_t groupLength, const char16_t* name,
             std::size_t nameLength) {
    constexpr char16_t kJoin[] = u" / ";
    constexpr std::size_t kJoinLength = std::size(kJoin) - 1;
    char16_t joined[2 * kNameUnits + kJoinLength];
    std::size_t length = 0;
    if (groupLength > 0 && nameLength > 0) {
        std::copy_n(group, groupLength, joined);
        std::copy_n(kJoin, kJoinLength, joined + groupLength);
        length = groupLength + kJoinLength;
    }
    std::copy_n(name, nameLength, joined + length);
    out.AddName({joined, length + nameLength});
}

}  // namespace

ReadOutcome ReadAse(ByteReader& in, Palette& out) {
    char magic[4];
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint32_t blocks = 0;
    if (!in.Bytes(magic, sizeof magic) || !in.BE16(&major) || !in.BE16(&minor) ||
        !in.BE32(&blocks) || major != kMajorVersion) {
        return kDamagedFile;
    }
    if (!out.Reserve(std::min<std::uint64_t>(blocks, in.Left() / kSmallestColourBlock))) {
        return {false, SWATCH_E_NO_MEMORY};
    }
    char16_t group[kNameUnits];
    std::size_t groupLength = 0;
    bool more = false;  // colours past the most a table holds
    for (std::uint32_t i = 0; i < blocks && !more; ++i) {
        std::uint16_t type = 0;
        std::uint32_t length = 0;
        if (!in.BE16(&type) || !in.BE32(&length) || length > in.Left()) {
            return kDamagedFile;
        }
        Block block(in, length);
        if (type == kColourBlock) {
            char16_t name[kNameUnits];
            std::size_t nameLength = 0;
            char model[4];
            SwatchEntry entry;
            if (!ReadName(block, name, &nameLength) || !block.Bytes(model, sizeof model) ||
                !ReadColour(block, model, &entry)) {
                return kDamagedFile;
            }
            more = !out.Add(entry);
            if (!more) {
                AddName(out, group, groupLength, name, nameLength);
            }
        } else if (type == kGroupStart) {
            // A group starts where the last one ended or not: end blocks are often left out.
            groupLength = 0;
            if (!block.Empty() && !ReadName(block, group, &groupLength)) {
                return kDamagedFile;
            }
        } else if (type == kGroupEnd) {
            groupLength = 0;
        }
        if (!block.SkipRest()) {
            return kDamagedFile;
        }
    }
    if (in.Failed()) {
        return kDamagedFile;
    }
    if (out.Count() == 0) {
        return {false, SWATCH_E_COUNT};
    }
    LoadStatus status = out.Warnings() | (more ? SWATCH_E_COUNT : 0);
    if (status != 0) {
        status |= SWATCH_E_READ;
    }
    return {true, status};
}
