// libFuzzer target: arbitrary bytes as a palette file of any format, loaded, walked and searched,
// and its names read. Any crash, sanitizer report or broken invariant (a trap) is a finding.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "swatch/match/closest_perceptual.h"
#include "swatch/match/closest_rgb.h"
#include "swatch/match/lab.h"
#include "swatch/match/stored_colour_text.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"

namespace {

// The file the inputs are written to, one per fuzzing process, removed at exit.
class InputFile {
  public:
    explicit InputFile(const char* extension)
        : path_("/tmp/swatch-fuzz-" + std::to_string(getpid()) + extension) {}
    ~InputFile() { std::remove(path_.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool Write(const std::uint8_t* data, std::size_t size) const {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    }
    const char* Path() const { return path_.c_str(); }

  private:
    std::string path_;
};

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void Exercise(const InputFile& input, const std::uint8_t* data, std::size_t size) {
    if (!input.Write(data, size)) {
        return;
    }
    SwatchTable table;
    table.SetFileName(input.Path());
    const bool loaded = table.Load();
    const LoadStatus status = table.GetStatus();
    Check(loaded == table.IsLoaded());
    Check(status == 0 || (status & 0xE0000000) == 0xE0000000);
    Check(!loaded || status == 0 || (status & SWATCH_E_READ) == SWATCH_E_READ);

    std::vector<SwatchEntry> entries;
    const SwatchEntry* entry = nullptr;
    for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
        Check(entries.size() < 65535);
        entries.push_back(*entry);
    }
    Check(!table.GetNextEntry(&entry));
    Check(loaded || entries.empty());

    // Every RGB colour of the table is found exactly; other colours agree with the plain scan.
    for (const SwatchEntry& held : entries) {
        const COLORREF colour = SwatchTable::EntryToColour(&held);
        if (colour != SWATCH_NO_COLOUR) {
            Check(table.FindClosestColour(colour) == colour);
        }
    }
    const COLORREF queries[] = {
        0x00000000, 0x00FFFFFF, 0x00808080,
        size >= 3
            ? static_cast<COLORREF>(data[size - 1] << 16 | data[size - 2] << 8 | data[size - 3])
            : 0x00123456};
    for (COLORREF query : queries) {
        std::size_t position = 0;
        const COLORREF found = table.FindClosestColour(query, &position);
        const std::size_t plain = FindClosestRgbPlain(entries.data(), entries.size(), query);
        Check(position == plain);
        Check(found == (plain < entries.size() ? SwatchTable::EntryToColour(&entries[plain])
                                               : SWATCH_NO_COLOUR));
        Check(FindClosestRgb(entries.data(), entries.size(), query) == plain);
    }
    Check(loaded || table.GetStatus() == SWATCH_E_NOT_LOADED);

    // Perceptual matching agrees with the plain CIEDE2000 scan, and its answers hang together.
    bool unconvertible = false;
    for (const SwatchEntry& held : entries) {
        Lab lab;
        const bool converts = EntryToLab(held, &lab);
        unconvertible = unconvertible || !converts;
        char text[40];
        const std::size_t length = DescribeStoredColour(held, text, sizeof text);
        Check(length < sizeof text && text[length] == '\0');
        Check((length == 0) == (held.colourSpace == 0 || !converts));
    }
    Check(table.HoldsUnconvertible() == (loaded && unconvertible));
    for (COLORREF query : queries) {
        std::size_t position = 0;
        const COLORREF found = table.FindPerceptualColour(query, &position);
        const std::size_t plain =
            FindClosestPerceptualPlain(entries.data(), entries.size(), SrgbToLab(query));
        Check(position == plain);
        COLORREF shown = SWATCH_NO_COLOUR;
        if (plain < entries.size()) {
            Check(EntryToSrgb(entries[plain], &shown));
        }
        Check(found == shown);
        Check((found == SWATCH_NO_COLOUR) == (table.EntryAt(position) == nullptr));
        Check((table.DeltaE(query, position) >= 0) == (plain < entries.size()));
    }

    // Names: no more than records, never longer than kept, never holding a zero; every position
    // answers, also one past the most a swatch file's header allows.
    SwatchNames names;
    SwatchTable named;
    named.SetFileName(input.Path());
    Check(named.Load(&names) == loaded && named.GetStatus() == status);
    Check(names.Count() <= entries.size());
    const std::size_t headerCount = size >= 4 ? data[2] << 8 | data[3] : 0;
    for (std::size_t i = 0; i <= std::max(headerCount, entries.size()); ++i) {
        const std::u16string_view name = names.Name(i);
        Check(name.size() <= SwatchNames::kMaxUnits);
        for (char16_t unit : name) {
            Check(unit >= 0x20);
        }
    }

    // A second load of the same bytes gives the same table.
    if (loaded) {
        Check(table.Load() && table.GetStatus() == status);
        std::size_t count = 0;
        for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
            Check(count < entries.size() && entry->colourSpace == entries[count].colourSpace);
            ++count;
        }
        Check(count == entries.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile swatchFile(".aco");
    static const InputFile colourTable(".act");
    Exercise(swatchFile, data, size);
    // Only a name tells a colour table, and only at these sizes.
    if (size == 768 || size == 772) {
        Exercise(colourTable, data, size);
    }
    return 0;
}
