#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "swatch/swatch_table.h"

namespace {

struct Sample {
    const char* file;
    LoadStatus status;
    int count;
    COLORREF query;     // a colour of the file, or any colour for files without RGB entries
    COLORREF expected;  // what the search gives for it
};

// From the samples' README and the files' bytes. Files with a second, named section load only the
// records of the first.
const Sample kSamples[] = {
    {"dagronf_Zeldman-v1.aco", 0, 6, 0x0088BBAA, 0x0088BBAA},
    {"rgbds_full_aco.aco", 0, 32, 0x00EEC7C4, 0x00EEC7C4},
    {"cyotek_db32.aco", 0, 32, 0x00342022, 0x00342022},
    {"cyotek_arne-v20-16.aco", 0, 16, 0x003326BE, 0x003326BE},
    {"kdybicz_rgb.aco", 0, 6, 0x00FF00FF, 0x00FF00FF},
    {"open-color_1.6.3.aco", 0, 130, 0x00F5F3F1, 0x00F5F3F1},
    {"kdybicz_cmyk.aco", 0, 6, 0x00808080, SWATCH_NO_COLOUR},
    {"kdybicz_utf.aco", 0, 3, 0x00808080, SWATCH_NO_COLOUR},
    {"kdybicz_grayscale.aco", SWATCH_E_UNSUPPORTED | SWATCH_E_READ, 20, 0x00808080,
     SWATCH_NO_COLOUR},
    {"czebe_swatch-lab.aco", SWATCH_E_UNSUPPORTED | SWATCH_E_READ, 1, 0x00808080, SWATCH_NO_COLOUR},
};

TEST(SwatchSamples, FilesFromOtherProgramsLoadAsExpected) {
    const char* folder = std::getenv("TINTWELL_ACO_SAMPLES");
    if (folder == nullptr || !std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no sample folder";
    }
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const std::string path = (std::filesystem::path(folder) / sample.file).string();
        SwatchTable table;
        table.SetFileName(path.c_str());
        ASSERT_TRUE(table.Load());
        EXPECT_EQ(table.GetStatus(), sample.status);
        int count = 0;
        const SwatchEntry* entry = nullptr;
        for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
            ++count;
        }
        EXPECT_EQ(count, sample.count);
        EXPECT_EQ(table.FindClosestColour(sample.query), sample.expected);
    }
}

}  // namespace
