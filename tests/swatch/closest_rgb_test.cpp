#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "swatch/closest_rgb.h"

namespace {

// Few distinct channel values, so that ties, exact matches and 765-distance pairs are common.
constexpr std::uint8_t kChannels[] = {0, 1, 2, 127, 128, 254, 255};
constexpr std::uint16_t kSpaces[] = {0, 0, 0, 0, 0, 1, 2, 7, 4096};

std::vector<SwatchEntry> RandomTable(std::mt19937& random, std::size_t count) {
    std::uniform_int_distribution<std::size_t> channel(0, std::size(kChannels) - 1);
    std::uniform_int_distribution<std::size_t> space(0, std::size(kSpaces) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<SwatchEntry> table(count);
    for (SwatchEntry& entry : table) {
        entry.colourSpace = kSpaces[space(random)];
        for (std::uint8_t& component : entry.components) {
            component = static_cast<std::uint8_t>(byte(random));
        }
        for (int c = 0; c < 3; ++c) {
            entry.components[c * 2] = kChannels[channel(random)];
        }
    }
    return table;
}

COLORREF RandomColour(std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> channel(0, std::size(kChannels) - 1);
    std::uniform_int_distribution<int> top(0, 255);
    return static_cast<COLORREF>(top(random)) << 24 |
           static_cast<COLORREF>(kChannels[channel(random)]) << 16 |
           static_cast<COLORREF>(kChannels[channel(random)]) << 8 | kChannels[channel(random)];
}

TEST(ClosestRgb, TheFastScanAgreesWithThePlainOne) {
    std::mt19937 random(20240611);
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; size <= 70; ++size) {
        sizes.push_back(size);
    }
    for (std::size_t size : {127, 128, 129, 1000, 4097, 65535}) {
        sizes.push_back(size);
    }
    for (std::size_t size : sizes) {
        for (int round = 0; round < 8; ++round) {
            const std::vector<SwatchEntry> table = RandomTable(random, size);
            const COLORREF colour = RandomColour(random);
            ASSERT_EQ(FindClosestRgb(table.data(), size, colour),
                      FindClosestRgbPlain(table.data(), size, colour))
                << size << " entries, colour " << std::hex << colour;
        }
    }
}

}  // namespace

#if defined(_WIN32) && defined(__i386__)
// 32-bit Windows promises a callback such as a dialog procedure only a four-byte aligned stack,
// while vector code may keep 16-byte values there.
std::size_t FindClosestRgbOnStackOffset(const SwatchEntry* entries, std::size_t count,
                                        COLORREF colour, std::uint32_t offset) {
    const std::uint32_t args[4] = {reinterpret_cast<std::uint32_t>(entries), count, colour, offset};
    std::size_t result;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl 12(%%edi), %%esp\n\t"
        "subl $16, %%esp\n\t"
        "movl (%%edi), %%eax\n\t"
        "movl %%eax, (%%esp)\n\t"
        "movl 4(%%edi), %%eax\n\t"
        "movl %%eax, 4(%%esp)\n\t"
        "movl 8(%%edi), %%eax\n\t"
        "movl %%eax, 8(%%esp)\n\t"
        "call %P[function]\n\t"
        "movl %%esi, %%esp"
        : "=a"(result)
        : "D"(args), [function] "i"(&FindClosestRgb)
        : "ecx", "edx", "esi", "memory", "cc");
    return result;
}

TEST(ClosestRgb, RunsOnAStackOfAnyAlignment) {
    std::mt19937 random(5);
    const std::vector<SwatchEntry> table = RandomTable(random, 1000);
    const std::size_t expected = FindClosestRgbPlain(table.data(), table.size(), 0x00808080);
    for (unsigned offset : {0u, 4u, 8u, 12u}) {
        EXPECT_EQ(FindClosestRgbOnStackOffset(table.data(), table.size(), 0x00808080, offset),
                  expected)
            << offset;
    }
}
#endif
