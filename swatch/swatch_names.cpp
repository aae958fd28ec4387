#include "swatch/swatch_names.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "swatch/swatch_file.h"

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kRecordSize = 10;
constexpr std::size_t kNameLengthSize = 4;
constexpr std::uint16_t kNamedVersion = 2;
constexpr char16_t kEllipsis = u'\u2026';
constexpr char16_t kHighSurrogateFirst = 0xD800;
constexpr char16_t kHighSurrogateLast = 0xDBFF;

std::uint16_t ReadBE16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t ReadBE32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

// The file's bytes in order through a buffer. A failed read and the end of the file look alike:
// whatever was asked for is not there.
class ByteStream {
  public:
    explicit ByteStream(SwatchFile& file) : file_(file) {
        if (!file_.Size(&fileSize_)) {
            fileSize_ = UINT64_MAX;  // unknown: a skip then reads up to the end
        }
    }

    bool Read(std::uint8_t* out, std::size_t size) {
        while (size > 0) {
            if (pos_ == size_ && !Fill()) {
                return false;
            }
            const std::size_t take = std::min(size, size_ - pos_);
            std::memcpy(out, buffer_ + pos_, take);
            pos_ += take;
            out += take;
            size -= take;
        }
        return true;
    }

    // Ends at the end of the file at the latest, however large `size` is; a skip past the end
    // fails at once, without reading the rest of the file.
    bool Skip(std::uint64_t size) {
        if (size > fileSize_ - std::min(fileSize_, filled_ - (size_ - pos_))) {
            return false;
        }
        while (size > 0) {
            if (pos_ == size_ && !Fill()) {
                return false;
            }
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - pos_));
            pos_ += take;
            size -= take;
        }
        return true;
    }

  private:
    bool Fill() {
        std::uint32_t got = 0;
        if (!file_.Read(buffer_, sizeof buffer_, &got) || got == 0) {
            return false;
        }
        pos_ = 0;
        size_ = got;
        filled_ += got;
        return true;
    }

    SwatchFile& file_;  // borrowed
    std::uint8_t buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    std::uint64_t filled_ = 0;  // bytes read from the file so far
    std::uint64_t fileSize_ = 0;
};

// Reads a name of `length` UTF-16 units, big-endian, into `name` (room for kMaxUnits + 1) and
// keeps what a reader is shown: up to the first zero, control characters as blanks, at most
// kMaxUnits. False when the file ends before the name does.
bool ReadName(ByteStream& in, std::uint32_t length, char16_t* name, std::size_t* units) {
    constexpr std::size_t kMaxUnits = SwatchNames::kMaxUnits;
    // One unit more than is kept tells a name that fills kMaxUnits from a longer one.
    std::uint8_t bytes[2 * (kMaxUnits + 1)];
    const std::size_t read = std::min<std::size_t>(length, kMaxUnits + 1);
    if (!in.Read(bytes, 2 * read) || !in.Skip(2 * (std::uint64_t{length} - read))) {
        return false;
    }
    std::size_t kept = 0;
    for (; kept < read; ++kept) {
        const char16_t unit = ReadBE16(bytes + 2 * kept);
        if (unit == 0) {
            break;
        }
        name[kept] = unit < 0x20 ? u' ' : unit;
    }
    if (kept > kMaxUnits) {
        kept = kMaxUnits - 1;
        // Never half a surrogate pair before the ellipsis.
        if (name[kept - 1] >= kHighSurrogateFirst && name[kept - 1] <= kHighSurrogateLast) {
            --kept;
        }
        name[kept++] = kEllipsis;
    }
    *units = kept;
    return true;
}

}  // namespace

void SwatchNames::FreeBlock::operator()(void* block) const {
    std::free(block);
}

SwatchNames& SwatchNames::operator=(SwatchNames&& other) noexcept {
    ends_ = std::move(other.ends_);
    text_ = std::move(other.text_);
    count_ = other.count_;
    other.count_ = 0;
    return *this;
}

void SwatchNames::Clear() {
    ends_.reset();
    text_.reset();
    count_ = 0;
}

void SwatchNames::Load(const char* fileName) {
    Clear();
    SwatchFile file;
    if (fileName == nullptr || file.Open(fileName) != 0) {
        return;
    }
    ByteStream in(file);
    std::uint8_t header[kHeaderSize];
    if (!in.Read(header, sizeof header)) {
        return;
    }
    std::size_t count = ReadBE16(header + 2);
    if (ReadBE16(header) != kNamedVersion) {
        // Past the plain records to the named section, which names no more records than the
        // plain one holds, position by position.
        if (!in.Skip(std::uint64_t{count} * kRecordSize) || !in.Read(header, sizeof header) ||
            ReadBE16(header) != kNamedVersion) {
            return;
        }
        count = std::min<std::size_t>(count, ReadBE16(header + 2));
    }
    if (count == 0) {
        return;
    }
    ends_.reset(static_cast<std::uint32_t*>(std::malloc(count * sizeof(std::uint32_t))));
    if (!ends_) {
        return;
    }

    // Grows as names arrive; at most kMaxUnits a record, so at most 8 MB for the largest file.
    std::size_t used = 0;
    std::size_t capacity = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t record[kRecordSize + kNameLengthSize];
        char16_t name[kMaxUnits + 1];  // one more than is kept, see ReadName
        std::size_t units = 0;
        // A record cut off, or its name: this one and all after it go without names.
        if (!in.Read(record, sizeof record) ||
            !ReadName(in, ReadBE32(record + kRecordSize), name, &units)) {
            return;
        }
        if (used + units > capacity) {
            const std::size_t grown = std::max(2 * capacity, used + 16 * kMaxUnits);
            void* block = std::realloc(text_.get(), grown * sizeof(char16_t));
            if (block == nullptr) {
                return;
            }
            text_.release();
            text_.reset(static_cast<char16_t*>(block));
            capacity = grown;
        }
        std::copy(name, name + units, text_.get() + used);
        used += units;
        ends_[i] = static_cast<std::uint32_t>(used);
        count_ = i + 1;
    }
}

std::u16string_view SwatchNames::Name(std::size_t position) const {
    if (position >= count_) {
        return {};
    }
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return {text_.get() + begin, ends_[position] - begin};
}
