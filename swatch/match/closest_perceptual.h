#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "swatch/match/lab.h"
#include "swatch/swatch_entry.h"

// Position of the earliest record with the smallest CIEDE2000 difference from `colour`, among
// the records EntryToLab converts, or `count` when none converts. One record at a time: the
// reference the index is held to.
std::size_t FindClosestPerceptualPlain(const SwatchEntry* entries, std::size_t count,
                                       const Lab& colour);

// The same answer, sooner: the convertible records sorted by lightness, so that a search looks
// only at records whose lightness alone does not put them further away than the best so far.
class PerceptualIndex {
  public:
    PerceptualIndex() = default;
    PerceptualIndex(const PerceptualIndex&) = delete;
    PerceptualIndex& operator=(const PerceptualIndex&) = delete;

    // Replaces the index with one of these records. False when its memory cannot be had: the
    // index then finds nothing, though HoldsUnconvertible still answers for these records.
    bool Build(const SwatchEntry* entries, std::size_t count);

    // FindClosestPerceptualPlain over the records the index was built from, given again.
    std::size_t Find(const SwatchEntry* entries, std::size_t count, const Lab& colour) const;

    // Whether a record of the last build is in a colour space EntryToLab does not convert.
    bool HoldsUnconvertible() const { return unconvertible_; }

  private:
    // What a record's lower bound needs, to within float precision; its exact difference is
    // worked out again from the record itself. 16 bytes, about 1 MB for the largest file.
    struct Record {
        float L;
        float a;
        float b;
        std::uint16_t position;
    };

    // Sorts `from` into `to`, both `size` long; `from` is left in disorder.
    static void SortByLightness(Record* from, Record* to, std::size_t size);

    std::unique_ptr<Record[]> records_;  // sorted by L
    std::size_t size_ = 0;
    bool unconvertible_ = false;
};
