#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// Names of a swatch file's colours. Image editors write them in a second section after the plain
// records (a header of version 2 with the same count, then each record again followed by its
// name); a file of version 2 alone carries them in its only section. The section is untrusted:
// what cannot be read leaves its records without a name, and the reader never reads past it.
class SwatchNames {
  public:
    // Longest name kept, in UTF-16 units; a longer one is cut and ends in an ellipsis.
    static constexpr std::size_t kMaxUnits = 64;

    SwatchNames() = default;
    SwatchNames(const SwatchNames&) = delete;
    SwatchNames& operator=(const SwatchNames&) = delete;
    SwatchNames& operator=(SwatchNames&& other) noexcept;

    // Replaces the names held with those of the file; a file that cannot be read has none.
    void Load(const char* fileName);
    void Clear();

    // The name of the record at `position` (0 first, in file order), empty when it has none.
    std::u16string_view Name(std::size_t position) const;

  private:
    struct FreeBlock {
        void operator()(void* block) const;
    };

    // Name i is text_[ends_[i - 1] .. ends_[i]), with ends_[-1] taken as 0.
    std::unique_ptr<std::uint32_t[], FreeBlock> ends_;
    std::unique_ptr<char16_t[], FreeBlock> text_;
    std::size_t count_ = 0;  // records with an entry in ends_
};
