#include "swatch/match/closest_perceptual.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <limits>
#include <new>

#include "swatch/match/ciede2000.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

// The bounds below work from float copies of L, a and b (each off by under 4e-5 for
// any value a record can hold) and leave this much room, so that a record they pass over is
// always strictly further away than the best so far.
constexpr double kSlack = 1e-3;

// How CIEDE2000 is bounded from below. With t = L' mean - 50, S_L = 1 + 0.015 t^2 / sqrt(20 + t^2)
// is at most 1 + 0.015 |t|, so a record dL further in lightness from the target is at least
// dL / (1 + 0.015 (|target L - 50| + dL / 2)) away, which grows with dL: once the nearer of the
// two unvisited neighbours in lightness lies beyond the best, so does every record after it.
double LightnessBound(double deltaL, double targetOffset) {
    return deltaL / (1 + 0.015 * (targetOffset + deltaL / 2));
}

// A finer bound per record. The rotation term takes at most sin 60 degrees of the chroma and hue
// terms, leaving 1 - 0.866 of their sum; S_H never exceeds S_C, which is at most
// 1 + 0.045 x 1.5 x mean chroma; and dC'^2 + dH'^2 is the squared distance in the a'b' plane,
// at least da^2 + db^2 since a' = (1 + G) a for both colours.
double RecordBound(double deltaL, double lMean, double deltaA, double deltaB, double chromaSum) {
    const double lOff2 = (lMean - 50) * (lMean - 50);
    const double lTerm = deltaL / (1 + 0.015 * lOff2 / std::sqrt(20 + lOff2));
    const double sc = 1 + 0.03375 * chromaSum;
    return std::sqrt(lTerm * lTerm + 0.133 * (deltaA * deltaA + deltaB * deltaB) / (sc * sc));
}

// Whether a record at `difference` replaces the best so far: the earlier of two equals wins.
bool Closer(double difference, std::size_t position, double best, std::size_t bestPosition) {
    return difference < best || (difference == best && position < bestPosition);
}

}  // namespace

// A stable radix sort on L, eleven bits at a time: a comparison sort of the largest file takes
// longer than converting its colours. Records come in file order, so equal lightness keeps it.
void PerceptualIndex::SortByLightness(Record* from, Record* to, std::size_t size) {
    constexpr int kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    const auto key = [](const Record& record) {
        std::uint32_t bits;
        std::memcpy(&bits, &record.L, sizeof bits);
        // Ordered as unsigned numbers, negative values (a rounding below 0) first.
        return bits & 0x80000000u ? ~bits : bits | 0x80000000u;
    };
    for (int shift = 0; shift < 32; shift += kBits) {
        std::size_t starts[kBuckets] = {};
        for (std::size_t i = 0; i < size; ++i) {
            ++starts[key(from[i]) >> shift & (kBuckets - 1)];
        }
        std::size_t total = 0;
        for (std::size_t& start : starts) {
            const std::size_t bucket = start;
            start = total;
            total += bucket;
        }
        for (std::size_t i = 0; i < size; ++i) {
            to[starts[key(from[i]) >> shift & (kBuckets - 1)]++] = from[i];
        }
        std::swap(from, to);
    }
    // Three passes leave the result in the buffer the records did not start in.
}

std::size_t FindClosestPerceptualPlain(const SwatchEntry* entries, std::size_t count,
                                       const Lab& colour) {
    std::size_t best = count;
    double bestDifference = kNone;
    for (std::size_t i = 0; i < count; ++i) {
        Lab lab;
        if (EntryToLab(entries[i], &lab)) {
            const double difference = Ciede2000(colour, lab);
            if (difference < bestDifference) {
                best = i;
                bestDifference = difference;
            }
        }
    }
    return best;
}

bool PerceptualIndex::Build(const SwatchEntry* entries, std::size_t count) {
    records_.reset();
    size_ = 0;
    unconvertible_ = false;
    std::unique_ptr<Record[]> records(new (std::nothrow) Record[count]);
    std::unique_ptr<Record[]> scratch(new (std::nothrow) Record[count]);
    const bool room = records && scratch;
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) {
        Lab lab;
        if (!EntryToLab(entries[i], &lab)) {
            unconvertible_ = true;
        } else if (room) {
            scratch[size++] = {static_cast<float>(lab.L), static_cast<float>(lab.a),
                               static_cast<float>(lab.b), static_cast<std::uint16_t>(i)};
        }
    }
    if (!room) {
        return false;
    }
    SortByLightness(scratch.get(), records.get(), size);
    records_ = std::move(records);
    size_ = size;
    return true;
}

std::size_t PerceptualIndex::Find(const SwatchEntry* entries, std::size_t count,
                                  const Lab& colour) const {
    const Record* const records = records_.get();
    const double chroma = std::sqrt(colour.a * colour.a + colour.b * colour.b);
    const double offset = std::fabs(colour.L - 50);
    // Outwards from the target's lightness, taking the nearer side each time.
    std::size_t up = static_cast<std::size_t>(
        std::lower_bound(records, records + size_, colour.L,
                         [](const Record& record, double l) { return record.L < l; }) -
        records);
    std::size_t down = up;  // one past the next record below
    std::size_t best = count;
    double bestDifference = kNone;
    for (;;) {
        const double above = up < size_ ? records[up].L - colour.L : kNone;
        const double below = down > 0 ? colour.L - records[down - 1].L : kNone;
        const double deltaL = std::min(above, below);
        if (deltaL == kNone || LightnessBound(deltaL, offset) > bestDifference + kSlack) {
            break;
        }
        const Record& record = above <= below ? records[up++] : records[--down];
        const double bound = RecordBound(
            deltaL, (colour.L + record.L) / 2, colour.a - record.a, colour.b - record.b,
            chroma + std::sqrt(double{record.a} * record.a + double{record.b} * record.b));
        if (bound > bestDifference + kSlack) {
            continue;
        }
        Lab lab;
        if (record.position < count && EntryToLab(entries[record.position], &lab)) {
            const double difference = Ciede2000(colour, lab);
            if (Closer(difference, record.position, bestDifference, best)) {
                best = record.position;
                bestDifference = difference;
            }
        }
    }
    return best;
}
