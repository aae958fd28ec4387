#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "swatch/load_status.h"
#include "swatch/match/closest_perceptual.h"
#include "swatch/swatch_entry.h"

class SwatchNames;

// What the search gives when it finds nothing.
constexpr COLORREF SWATCH_NO_COLOUR = 0xFFFFFFFF;

// The colours of one swatch file, its load outcome, and the closest-colour search over them.
class SwatchTable {
  public:
    SwatchTable() = default;
    SwatchTable(const SwatchTable&) = delete;
    SwatchTable& operator=(const SwatchTable&) = delete;

    // Stores the pointer itself: the caller keeps the text alive and may change it between loads.
    bool SetFileName(const char* fileName);
    // True when the table now holds the file's records (GetStatus may still carry warnings); false
    // when only the status changed.
    bool Load();
    // The same load, which also hands the file's colour names to `names` when it returns true
    // (and leaves them alone when it returns false): the file is read once for both.
    bool Load(SwatchNames* names);
    LoadStatus GetStatus() const { return status_; }
    bool IsLoaded() const { return loaded_; }
    // Records held, in file order.
    std::uint16_t GetCount() const { return count_; }

    // One walk at a time: the cursor belongs to the table and every search moves it.
    bool GetFirstEntry(const SwatchEntry** out);
    bool GetNextEntry(const SwatchEntry** out);

    static COLORREF EntryToColour(const SwatchEntry* entry);
    // Writes only colourSpace and the high bytes of components 1 to 3.
    static bool ColourToEntry(COLORREF colour, SwatchEntry* out, std::uint16_t colourSpace);

    // The earliest RGB entry nearest to the target, or null; valid until the next successful load.
    const SwatchEntry* FindClosestEntry(const SwatchEntry* target);
    COLORREF FindClosestEntryColour(const SwatchEntry* target);
    COLORREF FindClosestColour(COLORREF colour);
    // The same search, also giving the found entry's position in file order (0 first), or
    // GetCount() when it finds nothing.
    COLORREF FindClosestColour(COLORREF colour, std::size_t* position);

    // The record with the smallest CIEDE2000 difference from `colour`, the earliest among equals,
    // over every record in a colour space that converts: its colour as shown (an RGB record's
    // own, any other the nearest sRGB colour) and its position in file order; SWATCH_NO_COLOUR
    // and GetCount() when no record converts or the index could not be built. Moves the cursor
    // and, on a table never loaded, sets the status as FindClosestEntry does.
    COLORREF FindPerceptualColour(COLORREF colour, std::size_t* position);
    // Whether the records loaded include one that no search can use.
    bool HoldsUnconvertible() const { return perceptual_.HoldsUnconvertible(); }
    // The record at `position` in file order, or null past the end.
    const SwatchEntry* EntryAt(std::size_t position) const;
    // The CIEDE2000 difference between `user` and the record at `position`; negative when there
    // is no such record or it does not convert.
    double DeltaE(COLORREF user, std::size_t position) const;

  private:
    const char* fileName_ = nullptr;  // borrowed
    std::unique_ptr<SwatchEntry[]> entries_;
    PerceptualIndex perceptual_;  // of entries_, rebuilt by each successful load
    LoadStatus status_ = 0;
    std::uint16_t count_ = 0;
    std::uint16_t cursor_ = 0;
    bool loaded_ = false;
};
