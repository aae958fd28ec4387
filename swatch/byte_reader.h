#pragma once

#include <cstddef>
#include <cstdint>

class SwatchFile;

// A file's bytes in order, through one buffer, every read checked against what the file holds.
// Explicit byte order in every name. A read that cannot be met takes nothing a caller can use:
// the end of the file and a failed read look alike to the caller, and Failed() tells them apart.
class ByteReader {
  public:
    explicit ByteReader(SwatchFile& file);
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    bool Bytes(void* out, std::size_t size);
    bool BE16(std::uint16_t* out);
    bool BE32(std::uint32_t* out);
    bool LE16(std::uint16_t* out);
    bool LE32(std::uint32_t* out);
    bool FloatBE(float* out);
    // Past `size` bytes; one that would end past the file's end fails at once, without reading on.
    bool Skip(std::uint64_t size);
    // Up to `size` bytes (at most a buffer's worth) from here on, copied without being taken, so
    // that a format can be told before its reader starts; gives how many the file held.
    std::size_t Peek(void* out, std::size_t size);
    // The bytes up to the next line feed, which is taken but not kept, or up to the end of the
    // file: the first `capacity` of them into `out`, the rest of a longer line passed over, and
    // the line's whole length in `length`. False, with nothing taken, at the end of the file or
    // on a failed read.
    bool Line(char* out, std::size_t capacity, std::size_t* length);

    // Bytes not yet taken, as far as the file's size tells; very many when it cannot be told.
    std::uint64_t Left() const { return size_ - (Taken() < size_ ? Taken() : size_); }
    // The file's length in bytes, or very many when it cannot be told.
    std::uint64_t Size() const { return size_; }
    bool Failed() const { return failed_; }
    // Bytes fetched from the file so far, read ahead included.
    std::uint64_t Fetched() const { return fetched_; }

  private:
    bool Fill();
    std::uint64_t Taken() const { return fetched_ - (end_ - pos_); }

    SwatchFile& file_;  // borrowed
    std::uint8_t buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t fetched_ = 0;
    std::uint64_t size_ = 0;
    bool failed_ = false;
};
