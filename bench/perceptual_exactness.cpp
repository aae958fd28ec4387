// The perceptual index against the plain CIEDE2000 scan for a million random queries over
// random tables: records in every colour space, repeated colours, Lab records out to the ends of
// what a file stores, and half of the queries taken from the table's own colours, where ties
// are. Too long for the unit tests; run it after changing the index or the bounds it uses:
//   build/native/bench/perceptual_exactness [queries]
// Exits 1 at the first disagreement.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "swatch/match/closest_perceptual.h"
#include "swatch/match/lab.h"

namespace {

std::vector<SwatchEntry> RandomTable(std::mt19937& random, std::size_t size) {
    const std::uint16_t spaces[] = {0, 0, 0, 0, 1, 2, 7, 7, 8, 3, 4096};
    const std::uint16_t extremes[] = {0, 1, 32767, 32768, 65534, 65535};
    const auto component = [&] {
        return random() % 8 == 0 ? extremes[random() % std::size(extremes)]
                                 : static_cast<std::uint16_t>(random());
    };
    std::vector<SwatchEntry> table(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (i > 0 && random() % 8 == 0) {
            table[i] = table[random() % i];
            continue;
        }
        const std::uint16_t space = spaces[random() % std::size(spaces)];
        if (space == 7 && random() % 2 == 0) {
            // Within the usual range of Lab, where most real records lie.
            table[i] = MakeSwatchEntry(7, static_cast<std::uint16_t>(random() % 10001),
                                       static_cast<std::uint16_t>(random() % 25600 - 12800),
                                       static_cast<std::uint16_t>(random() % 25600 - 12800));
        } else {
            table[i] = MakeSwatchEntry(space, component(), component(), component(), component());
        }
    }
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    const long queries = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::mt19937 random(20240613);
    PerceptualIndex index;
    long done = 0;
    long found = 0;
    while (done < queries) {
        // Mostly small tables, so that the plain scan keeps up; now and then a large one.
        const std::size_t size = random() % 64 == 0 ? 1 + random() % 65535 : random() % 300;
        const std::vector<SwatchEntry> table = RandomTable(random, size);
        if (!index.Build(table.data(), size)) {
            std::fprintf(stderr, "out of memory\n");
            return 1;
        }
        const long rounds = size > 5000 ? 20 : 200;
        for (long round = 0; round < rounds && done < queries; ++round, ++done) {
            COLORREF colour = random() & 0xFFFFFF;
            Lab lab;
            if (size > 0 && round % 2 == 0 && EntryToLab(table[random() % size], &lab)) {
                colour = LabToSrgb(lab);
            }
            const Lab target = SrgbToLab(colour);
            const std::size_t plain = FindClosestPerceptualPlain(table.data(), size, target);
            const std::size_t fast = index.Find(table.data(), size, target);
            if (fast != plain) {
                std::fprintf(stderr, "query %ld, colour %06X, %zu records: index %zu, scan %zu\n",
                             done, static_cast<unsigned>(colour), size, fast, plain);
                return 1;
            }
            found += plain < size ? 1 : 0;
        }
    }
    std::printf("%ld queries, %ld matched a record: the index and the plain scan agree\n", done,
                found);
    return 0;
}
