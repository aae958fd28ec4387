#include "swatch/match/closest_rgb.h"

#include <cstdlib>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

struct Target {
    int red;
    int green;
    int blue;
};

Target TargetOf(COLORREF colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
            static_cast<int>(colour >> 16 & 0xFF)};
}

// Moves `best` to each RGB entry in [first, last) that is strictly closer than `bestDistance`.
inline void Scan(const SwatchEntry* entries, std::size_t first, std::size_t last,
                 const Target& target, std::size_t& best, int& bestDistance) {
    for (std::size_t i = first; i < last; ++i) {
        const SwatchEntry& entry = entries[i];
        if (entry.colourSpace != 0) {
            continue;
        }
        const int distance = std::abs(entry.components[0] - target.red) +
                             std::abs(entry.components[2] - target.green) +
                             std::abs(entry.components[4] - target.blue);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
}

#if defined(__i386__) || defined(__x86_64__)

__attribute__((target("sse2"))) inline __m128i LoadHead(const SwatchEntry* entry) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(entry));
}

__attribute__((target("sse2"))) inline __m128i AbsDiff16(__m128i a, __m128i b) {
    return _mm_or_si128(_mm_subs_epu16(a, b), _mm_subs_epu16(b, a));
}

#ifdef __i386__
// 32-bit Windows promises callbacks, such as the dialog procedure that ends up here, only a
// four-byte aligned stack; vector values spilled to it need sixteen.
#define TINTWELL_ALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define TINTWELL_ALIGN_STACK
#endif

// Eight entries at a time: their distances in 16-bit lanes, and only when one of them is an RGB
// entry closer than the best so far are the eight looked at again one by one, which keeps the
// plain loop's choice among equals.
__attribute__((target("sse2"))) TINTWELL_ALIGN_STACK std::size_t FindClosestRgbSse2(
    const SwatchEntry* entries, std::size_t count, const Target& target) {
    const __m128i red = _mm_set1_epi16(static_cast<short>(target.red));
    const __m128i green = _mm_set1_epi16(static_cast<short>(target.green));
    const __m128i blue = _mm_set1_epi16(static_cast<short>(target.blue));
    const __m128i highByte = _mm_set1_epi16(0x00FF);  // the byte stored first
    const __m128i zero = _mm_setzero_si128();

    std::size_t best = count;
    int bestDistance = kMaxColourDistance;
    __m128i bestVector = _mm_set1_epi16(static_cast<short>(bestDistance));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        // The first eight bytes of an entry are its colour space and three channel components:
        // four 16-bit lanes, transposed here into one vector per field.
        const SwatchEntry* block = entries + i;
        const __m128i a01 = _mm_unpacklo_epi16(LoadHead(block), LoadHead(block + 1));
        const __m128i a23 = _mm_unpacklo_epi16(LoadHead(block + 2), LoadHead(block + 3));
        const __m128i a45 = _mm_unpacklo_epi16(LoadHead(block + 4), LoadHead(block + 5));
        const __m128i a67 = _mm_unpacklo_epi16(LoadHead(block + 6), LoadHead(block + 7));
        const __m128i spaceRed03 = _mm_unpacklo_epi32(a01, a23);
        const __m128i greenBlue03 = _mm_unpackhi_epi32(a01, a23);
        const __m128i spaceRed47 = _mm_unpacklo_epi32(a45, a67);
        const __m128i greenBlue47 = _mm_unpackhi_epi32(a45, a67);
        const __m128i space = _mm_unpacklo_epi64(spaceRed03, spaceRed47);
        const __m128i r = _mm_and_si128(_mm_unpackhi_epi64(spaceRed03, spaceRed47), highByte);
        const __m128i g = _mm_and_si128(_mm_unpacklo_epi64(greenBlue03, greenBlue47), highByte);
        const __m128i b = _mm_and_si128(_mm_unpackhi_epi64(greenBlue03, greenBlue47), highByte);
        const __m128i distance = _mm_add_epi16(
            _mm_add_epi16(AbsDiff16(r, red), AbsDiff16(g, green)), AbsDiff16(b, blue));
        const __m128i closer =
            _mm_and_si128(_mm_cmplt_epi16(distance, bestVector), _mm_cmpeq_epi16(space, zero));
        if (_mm_movemask_epi8(closer) != 0) {
            Scan(entries, i, i + 8, target, best, bestDistance);
            bestVector = _mm_set1_epi16(static_cast<short>(bestDistance));
        }
    }
    Scan(entries, i, count, target, best, bestDistance);
    return best;
}

bool HaveSse2() {
#ifdef __SSE2__
    return true;
#else
    static const bool have = __builtin_cpu_supports("sse2");
    return have;
#endif
}

#endif

}  // namespace

std::size_t FindClosestRgbPlain(const SwatchEntry* entries, std::size_t count, COLORREF colour) {
    std::size_t best = count;
    int bestDistance = kMaxColourDistance;
    Scan(entries, 0, count, TargetOf(colour), best, bestDistance);
    return best;
}

std::size_t FindClosestRgb(const SwatchEntry* entries, std::size_t count, COLORREF colour) {
#if defined(__i386__) || defined(__x86_64__)
    if (HaveSse2()) {
        return FindClosestRgbSse2(entries, count, TargetOf(colour));
    }
#endif
    return FindClosestRgbPlain(entries, count, colour);
}
