#pragma once

#include <cstdint>

// The colour-space codes a swatch record can carry, as image editors write them.
namespace ColourSpace {
constexpr std::uint16_t kRgb = 0;
constexpr std::uint16_t kHsb = 1;
constexpr std::uint16_t kCmyk = 2;
constexpr std::uint16_t kLab = 7;
constexpr std::uint16_t kGrey = 8;
// Codes 3 to 6 name colour books, 4096 a further book: numbers into a maker's catalogue rather
// than colours. Codes 7 and 8 are colours the search cannot use; all of these warn, so that the
// user knows the matches leave part of the file out.
constexpr std::uint16_t kFirstBook = 3;
constexpr std::uint16_t kLastWarning = kGrey;
constexpr std::uint16_t kLateBook = 4096;
// A colour in a model no reader here converts, from a format other than swatch files: held in
// its place, never matched, and warned of like a book colour.
constexpr std::uint16_t kUnknownModel = kLateBook;

// Whether a record in this space brings the "unsupported colour formats" warning; spaces 1, 2
// and every other code are held quietly.
constexpr bool WarnsOnLoad(std::uint16_t space) {
    return (space >= kFirstBook && space <= kLastWarning) || space == kLateBook;
}
}  // namespace ColourSpace
