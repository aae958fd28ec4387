#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "swatch/byte_reader.h"
#include "swatch/formats/palette_reader.h"
#include "swatch/match/closest_rgb.h"
#include "swatch/swatch_file.h"
#include "tests/swatch/loaded_table.h"

namespace {

std::string Records(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes += AcoRecord(0, i, 0xFFFF - i, i * 7, i ^ 0x5A5A);
    }
    return bytes;
}
// What follows a version-2 record: the name's length in two-byte units, then up to `units` units.
std::string Name(unsigned length, unsigned units = ~0u) {
    return AcoName(length, std::u16string(units < length ? units : length, u'n'));
}

// `count` plain records, then a header of `version` counting `named`.
std::string Plain(unsigned count, unsigned version, unsigned named) {
    return AcoHeader(1, count) + std::string(10 * count, '\0') + AcoHeader(version, named);
}
// A named record: the record, a length of `length` units, then `text`; by default the text and
// its zero.
std::string Named(const std::u16string& text, unsigned length = ~0u) {
    return AcoRecord(0, 0, 0, 0) +
           (length == ~0u ? AcoName(static_cast<unsigned>(text.size() + 1), text + u'\0')
                          : AcoName(length, text));
}

constexpr LoadStatus kShort = SWATCH_E_COUNT | SWATCH_E_READ;
constexpr LoadStatus kFlagged = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;
const std::string r0 = AcoRecord(0, 0x100, 0x200, 0x300), r1 = AcoRecord(0, 0x400, 0x500, 0x600),
                  r2 = AcoRecord(0, 0x700, 0x800, 0x900), three = r0 + r1 + r2;
const std::string lab = AcoRecord(7, 1, 2, 3, 4), s3 = AcoRecord(3, 1, 0, 0),
                  s8 = AcoRecord(8, 0, 1, 0), s4096 = AcoRecord(4096, 0, 0, 1);
const std::string quiet = AcoRecord(2, 1, 1, 1) + AcoRecord(9, 2, 2, 2) + AcoRecord(4095, 3, 3, 3) +
                          AcoRecord(4097, 4, 4, 4);

TEST(SwatchLoad, EachFileShapeHasItsOutcome) {
    const Case cases[] = {
        {"empty file", "", false, SWATCH_E_READ},
        {"three bytes", std::string("\0\1\0", 3), false, SWATCH_E_READ},
        {"count 0", AcoHeader(1, 0) + three, false, SWATCH_E_COUNT},
        {"header only", AcoHeader(1, 3), true, kShort, ""},
        {"too few records", AcoHeader(1, 5) + three + "123456789", true, kShort, three},
        {"more records than the count, flagged past it", AcoHeader(1, 12) + Records(12) + lab, true,
         0, Records(12)},
        {"largest count", AcoHeader(1, 65535) + Records(65535), true, 0, Records(65535)},
        {"colour spaces that do not warn", AcoHeader(1, 4) + quiet, true, 0, quiet},
        {"colour space 3", AcoHeader(1, 1) + s3, true, kFlagged, s3},
        {"colour space 8", AcoHeader(1, 1) + s8, true, kFlagged, s8},
        {"colour space 4096", AcoHeader(1, 1) + s4096, true, kFlagged, s4096},
        {"flagged and too few", AcoHeader(1, 3) + r0 + lab, true, kFlagged | kShort, r0 + lab},
        {"version bytes 02 00", AcoHeader(0x0200, 3) + three, true, 0, three},
        // The second name's length and the last record straddle chunks.
        {"version 2",
         AcoHeader(2, 4) + r0 + Name(37) + r1 + Name(0) + r2 + Name(240) + r0 + Name(1), true, 0,
         three + r0},
        {"version 2, last name cut short", AcoHeader(2, 2) + r0 + Name(2) + lab + Name(4, 1), true,
         kShort, r0},
        // Twice this length overflows 32 bits.
        {"version 2, name longer than the file", AcoHeader(2, 2) + r0 + Name(0x80000000, 0) + r1,
         true, kShort, ""},
    };
    for (const Case& c : cases) {
        Check(c, "test.aco", false);
    }
}

// The 1 GB after the name, a hole that costs no disk, would be read to its end for nothing; the
// name's length alone shows that it runs past the end, so the reader stops within its first
// buffer.
TEST(SwatchLoad, ANameLengthPastTheEndEndsTheLoadAtOnce) {
    ASSERT_TRUE(WriteBytes("test.aco", AcoHeader(2, 2) + r0 + Name(1) + r1 + Name(0x7FFFFFFF, 0)));
    std::filesystem::resize_file("test.aco", std::uintmax_t{1} << 30);
    const Loaded loaded = LoadOver("test.aco");
    EXPECT_TRUE(loaded.loads);
    EXPECT_EQ(loaded.status, kShort);
    EXPECT_EQ(loaded.records, r0);
    {
        SwatchFile file;
        ASSERT_EQ(file.Open("test.aco"), 0u);
        ByteReader in(file);
        SwatchNames names;
        Palette palette(&names);
        EXPECT_TRUE(ReadPalette(in, "test.aco", palette).loaded);
        EXPECT_LE(in.Fetched(), 4096u);
    }
    EXPECT_EQ(std::remove("test.aco"), 0);
}

TEST(SwatchNames, WhatCannotBeReadHasNoName) {
    const std::u16string a64(64, u'a'), a62(62, u'a');
    const struct {
        const char* what;
        std::string file;
        Names names;
    } cases[] = {
        {"named only", AcoHeader(2, 2) + Named(u"Teal") + Named(u""), {u"Teal", u""}},
        {"no named section", Plain(2, 1, 2) + Named(u"x"), {u"", u""}},
        {"named section counts fewer",
         Plain(3, 2, 1) + Named(u"x") + Named(u"y"),
         {u"x", u"", u""}},
        {"named section counts more", Plain(1, 2, 3) + Named(u"x") + Named(u"y"), {u"x"}},
        {"cut off inside a name", Plain(2, 2, 2) + Named(u"x") + Named(u"yz", 3), {u"x", u""}},
        {"length past the end", Plain(2, 2, 2) + Named(u"", 0x80000000) + Named(u"y"), {u"", u""}},
        {"length 0, unterminated, zero inside, control character",
         Plain(4, 2, 4) + Named(u"", 0) + Named(u"ab", 2) + Named(std::u16string(u"a\0b", 3), 3) +
             Named(u"d\te"),
         {u"", u"ab", u"a", u"d e"}},
        {"64 units kept, a longer name cut, never inside a pair",
         Plain(3, 2, 3) + Named(a64) + Named(a64 + u"b") + Named(a62 + u"\U0001F600b"),
         {a64, std::u16string(63, u'a') + u"…", a62 + u"…"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadBytes(c.file).names, c.names) << c.what;
    }
}

// No name, no file, or no regular file: a device, pipe or FIFO could block the read for ever,
// before any window exists, and is refused at once as a refused access, whatever the name says.
TEST(SwatchLoad, NothingButARegularFileIsRead) {
    constexpr LoadStatus kNotFound = 0xE000000A, kRefused = 0xE000000D;
#ifdef _WIN32
    // A pipe with a server waiting: the open connects, and a read would wait for its data.
    const HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\tintwell-test.aco", PIPE_ACCESS_OUTBOUND,
                                         PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    const std::pair<const char*, LoadStatus> paths[] = {
        {nullptr, 0},
        {"missing.aco", kNotFound},
        {".", kRefused},
        {"NUL", kRefused},
        {"\\\\.\\NUL", kRefused},
        {"nul.aco", kRefused},
        {"\\\\.\\pipe\\tintwell-test.aco", kRefused}};
#else
    const std::string fifo = "fifo-" + std::to_string(getpid()) + ".aco";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<const char*, LoadStatus> paths[] = {{nullptr, 0},
                                                        {"missing.aco", kNotFound},
                                                        {".", kRefused},
                                                        {"/dev/null", kRefused},
                                                        {"/dev/zero", kRefused},
                                                        {fifo.c_str(), kRefused}};
#endif
    for (const auto& [path, status] : paths) {
        SCOPED_TRACE(path == nullptr ? "no name" : path);
        const Loaded loaded = LoadOver(path, false);
        EXPECT_FALSE(loaded.loads);
        EXPECT_EQ(loaded.status, status);
        EXPECT_EQ(loaded.records, kBefore);
    }
#ifdef _WIN32
    CloseHandle(pipe);
#else
    std::remove(fifo.c_str());
#endif
}

TEST(ClosestRgb, TheFastScanAgreesWithThePlainOne) {
    // Few channel values and some other colour spaces, so that ties, exact matches, entries 765
    // away and entries to pass over are common.
    const std::uint8_t channels[] = {0, 1, 2, 127, 128, 254, 255};
    std::mt19937 random(20240611);
    const auto channel = [&] { return channels[random() % std::size(channels)]; };
    for (std::size_t size : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 64, 127, 1000, 65535}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<SwatchEntry> table(size);
            for (SwatchEntry& entry : table) {
                entry.colourSpace = random() % 3 == 0 ? static_cast<std::uint16_t>(random()) : 0;
                for (int i = 0; i < 8; ++i) {
                    entry.components[i] = i % 2 == 0 && i < 6 ? channel() : random() & 0xFF;
                }
            }
            const COLORREF colour =
                (random() & 0xFF000000) | channel() << 16 | channel() << 8 | channel();
            ASSERT_EQ(FindClosestRgb(table.data(), size, colour),
                      FindClosestRgbPlain(table.data(), size, colour))
                << size << " entries, colour " << std::hex << colour;
        }
    }
}

#if defined(_WIN32) && defined(__i386__)
// 32-bit Windows promises a callback such as a dialog procedure only four-byte stack alignment.
TEST(ClosestRgb, RunsOnAStackOffASixteenByteBoundary) {
    std::vector<SwatchEntry> table(64);
    table[40] = {0, {0x80, 0, 0x80, 0, 0x80, 0, 0, 0}};
    const std::uint32_t args[3] = {reinterpret_cast<std::uint32_t>(table.data()), 64, 0x808080};
    std::size_t result;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl $8, %%esp\n\t"  // with the arguments, 4 bytes below a 16-byte boundary
        "pushl 8(%%edi)\n\t"
        "pushl 4(%%edi)\n\t"
        "pushl (%%edi)\n\t"
        "call %P[function]\n\t"
        "movl %%esi, %%esp"
        : "=a"(result)
        : "D"(args), [function] "i"(&FindClosestRgb)
        : "ecx", "edx", "esi", "memory", "cc");
    EXPECT_EQ(result, 40u);
}
#endif

}  // namespace
