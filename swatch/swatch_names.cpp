#include "swatch/swatch_names.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr char16_t kEllipsis = u'\u2026';
constexpr char16_t kHighSurrogateFirst = 0xD800;
constexpr char16_t kHighSurrogateLast = 0xDBFF;

// realloc into an owner, which keeps the old block when the new one cannot be had.
template <typename T, typename Owner>
bool Resize(Owner& owner, std::size_t count) {
    void* block = std::realloc(owner.get(), count * sizeof(T));
    if (block == nullptr) {
        return false;
    }
    owner.release();
    owner.reset(static_cast<T*>(block));
    return true;
}

}  // namespace

void SwatchNames::FreeBlock::operator()(void* block) const {
    std::free(block);
}

SwatchNames& SwatchNames::operator=(SwatchNames&& other) noexcept {
    ends_ = std::move(other.ends_);
    text_ = std::move(other.text_);
    count_ = std::exchange(other.count_, 0);
    endsCapacity_ = std::exchange(other.endsCapacity_, 0);
    textUsed_ = std::exchange(other.textUsed_, 0);
    textCapacity_ = std::exchange(other.textCapacity_, 0);
    full_ = std::exchange(other.full_, false);
    return *this;
}

void SwatchNames::Clear() {
    *this = SwatchNames();
}

// Room for one more name of `units`; both blocks at least double, so adding stays linear.
bool SwatchNames::Grow(std::size_t units) {
    if (count_ == endsCapacity_) {
        const std::size_t grown = std::max<std::size_t>(2 * endsCapacity_, 256);
        if (!Resize<std::uint32_t>(ends_, grown)) {
            return false;
        }
        endsCapacity_ = grown;
    }
    if (textUsed_ + units > textCapacity_) {
        const std::size_t grown = std::max(2 * textCapacity_, textUsed_ + 16 * kMaxUnits);
        if (!Resize<char16_t>(text_, grown)) {
            return false;
        }
        textCapacity_ = grown;
    }
    return true;
}

bool SwatchNames::Add(std::u16string_view name) {
    name = name.substr(0, std::min(name.find(u'\0'), kReadUnits));
    std::size_t kept = name.size();
    bool cut = false;
    if (kept > kMaxUnits) {
        kept = kMaxUnits - 1;
        // Never half a surrogate pair before the ellipsis.
        if (name[kept - 1] >= kHighSurrogateFirst && name[kept - 1] <= kHighSurrogateLast) {
            --kept;
        }
        cut = true;
    }
    if (full_ || !Grow(kept + 1)) {
        full_ = true;
        return false;
    }
    char16_t* out = text_.get() + textUsed_;
    for (std::size_t i = 0; i < kept; ++i) {
        out[i] = name[i] < 0x20 ? u' ' : name[i];
    }
    if (cut) {
        out[kept++] = kEllipsis;
    }
    textUsed_ += kept;
    ends_[count_++] = static_cast<std::uint32_t>(textUsed_);
    return true;
}

std::u16string_view SwatchNames::Name(std::size_t position) const {
    if (position >= count_) {
        return {};
    }
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return {text_.get() + begin, ends_[position] - begin};
}
