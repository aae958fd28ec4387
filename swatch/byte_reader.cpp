#include "swatch/byte_reader.h"

#include <algorithm>
#include <cstring>

#include "swatch/swatch_file.h"

ByteReader::ByteReader(SwatchFile& file) : file_(file) {
    if (!file_.Size(&size_)) {
        size_ = UINT64_MAX;  // unknown: a skip then reads on up to the end
    }
}

bool ByteReader::Fill() {
    if (failed_) {
        return false;  // a file that failed once is not read on
    }
    std::uint32_t got = 0;
    if (!file_.Read(buffer_, sizeof buffer_, &got)) {
        failed_ = true;
        return false;
    }
    if (got == 0) {
        return false;
    }
    pos_ = 0;
    end_ = got;
    fetched_ += got;
    return true;
}

bool ByteReader::Bytes(void* out, std::size_t size) {
    auto* to = static_cast<std::uint8_t*>(out);
    while (size > 0) {
        if (pos_ == end_ && !Fill()) {
            return false;
        }
        const std::size_t take = std::min(size, end_ - pos_);
        std::memcpy(to, buffer_ + pos_, take);
        pos_ += take;
        to += take;
        size -= take;
    }
    return true;
}

bool ByteReader::Skip(std::uint64_t size) {
    if (size > Left()) {
        return false;
    }
    while (size > 0) {
        if (pos_ == end_ && !Fill()) {
            return false;
        }
        const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size, end_ - pos_));
        pos_ += take;
        size -= take;
    }
    return true;
}

std::size_t ByteReader::Peek(void* out, std::size_t size) {
    size = std::min(size, sizeof buffer_);
    while (end_ - pos_ < size && !failed_) {
        // What is buffered moves to the front and the file is read on behind it.
        std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        std::uint32_t got = 0;
        if (!file_.Read(buffer_ + end_, static_cast<std::uint32_t>(sizeof buffer_ - end_), &got)) {
            failed_ = true;
        }
        if (got == 0) {
            break;
        }
        end_ += got;
        fetched_ += got;
    }
    const std::size_t have = std::min(size, end_ - pos_);
    std::memcpy(out, buffer_ + pos_, have);
    return have;
}

bool ByteReader::Line(char* out, std::size_t capacity, std::size_t* length) {
    std::size_t total = 0;
    for (bool any = false;; any = true) {
        if (pos_ == end_ && !Fill()) {
            *length = total;
            return any && !failed_;
        }
        const std::uint8_t* start = buffer_ + pos_;
        const auto* feed = static_cast<const std::uint8_t*>(std::memchr(start, '\n', end_ - pos_));
        const std::size_t size =
            feed != nullptr ? static_cast<std::size_t>(feed - start) : end_ - pos_;
        if (total < capacity) {
            std::memcpy(out + total, start, std::min(size, capacity - total));
        }
        total += size;
        pos_ += size;
        if (feed != nullptr) {
            ++pos_;
            *length = total;
            return true;
        }
    }
}

bool ByteReader::BE16(std::uint16_t* out) {
    std::uint8_t b[2];
    if (!Bytes(b, sizeof b)) {
        return false;
    }
    *out = static_cast<std::uint16_t>(b[0] << 8 | b[1]);
    return true;
}

bool ByteReader::LE16(std::uint16_t* out) {
    std::uint8_t b[2];
    if (!Bytes(b, sizeof b)) {
        return false;
    }
    *out = static_cast<std::uint16_t>(b[1] << 8 | b[0]);
    return true;
}

bool ByteReader::BE32(std::uint32_t* out) {
    std::uint16_t high = 0;
    std::uint16_t low = 0;
    if (!BE16(&high) || !BE16(&low)) {
        return false;
    }
    *out = std::uint32_t{high} << 16 | low;
    return true;
}

bool ByteReader::LE32(std::uint32_t* out) {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!LE16(&low) || !LE16(&high)) {
        return false;
    }
    *out = std::uint32_t{high} << 16 | low;
    return true;
}

bool ByteReader::FloatBE(float* out) {
    std::uint32_t bits = 0;
    if (!BE32(&bits)) {
        return false;
    }
    static_assert(sizeof(float) == sizeof bits, "IEEE single precision");
    std::memcpy(out, &bits, sizeof bits);
    return true;
}
