#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "swatch/load_status.h"
#include "swatch/swatch_entry.h"

class SwatchNames;

// What a palette reader fills, whatever the format: the records in file order as a swatch file
// stores them, and, when they are asked for, their names. The table takes them only from a
// reader whose outcome says the load finished.
class Palette {
  public:
    // The table holds at most this many records, as a 16-bit count allows.
    static constexpr std::size_t kMaxRecords = 65535;

    explicit Palette(SwatchNames* names) : names_(names) {}  // borrowed; null when not wanted
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // Room for `count` records, at most kMaxRecords; false when the memory cannot be had.
    bool Reserve(std::size_t count);
    // Appends a record; false once the room reserved is full.
    bool Add(const SwatchEntry& entry);
    bool IsFull() const { return count_ == capacity_; }
    std::size_t Count() const { return count_; }

    bool WantsNames() const { return names_ != nullptr; }
    // The next record's name, in record order.
    void AddName(std::u16string_view name);

    // SWATCH_E_UNSUPPORTED once a record added warns, else 0.
    LoadStatus Warnings() const { return warnings_; }
    std::unique_ptr<SwatchEntry[]> TakeEntries() { return std::move(entries_); }

  private:
    SwatchNames* names_;
    std::unique_ptr<SwatchEntry[]> entries_;
    std::size_t capacity_ = 0;
    std::size_t count_ = 0;
    LoadStatus warnings_ = 0;
};

// A reader's verdict: whether the table takes the palette, and the status word the load leaves.
struct ReadOutcome {
    bool loaded;
    LoadStatus status;
};

// A file that is not what its format says: refused, the table kept as it was.
constexpr ReadOutcome kDamagedFile = {false, SWATCH_E_READ};
