#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// Names of a swatch file's colours, position by position in file order, as the palette readers
// find them. Names arrive from untrusted files: each is cleaned as it is added, and a store that
// runs out of memory keeps the names it has and takes no more.
class SwatchNames {
  public:
    // Longest name kept, in UTF-16 units; a longer one is cut and ends in an ellipsis.
    static constexpr std::size_t kMaxUnits = 64;
    // What a reader passes on of a longer name: one unit more than is kept tells a name that
    // fills the limit from a longer one.
    static constexpr std::size_t kReadUnits = kMaxUnits + 1;

    SwatchNames() = default;
    SwatchNames(const SwatchNames&) = delete;
    SwatchNames& operator=(const SwatchNames&) = delete;
    SwatchNames& operator=(SwatchNames&& other) noexcept;

    // The next record's name, kept as a reader is shown it: up to the first zero, control
    // characters as blanks, at most kMaxUnits. False once the store takes no more.
    bool Add(std::u16string_view name);
    void Clear();

    // The name of the record at `position` (0 first, in file order), empty when it has none.
    std::u16string_view Name(std::size_t position) const;
    std::size_t Count() const { return count_; }

  private:
    struct FreeBlock {
        void operator()(void* block) const;
    };
    bool Grow(std::size_t units);

    // Name i is text_[ends_[i - 1] .. ends_[i]), with ends_[-1] taken as 0.
    std::unique_ptr<std::uint32_t[], FreeBlock> ends_;
    std::unique_ptr<char16_t[], FreeBlock> text_;
    std::size_t count_ = 0;  // names held
    std::size_t endsCapacity_ = 0;
    std::size_t textUsed_ = 0;
    std::size_t textCapacity_ = 0;
    bool full_ = false;  // memory ran out
};
