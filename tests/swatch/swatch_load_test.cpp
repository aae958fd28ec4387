#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "swatch/swatch_table.h"
#include "tests/swatch/swatch_test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace {

// Three plain records, used wherever a table has to hold something recognisable.
std::string ThreeRecords() {
    return AcoBuilder().Rgb(1, 2, 3).Rgb(4, 5, 6).Rgb(7, 8, 9).Data();
}

std::string Records(int count, int first = 0) {
    AcoBuilder records;
    for (int i = first; i < first + count; ++i) {
        records.Rgb(i, 255 - i, i * 7 % 256);
    }
    return records.Data();
}

struct LoadCase {
    const char* what;
    std::string file;
    bool loads;
    LoadStatus status;
    std::string records;  // what the table holds afterwards, when it loads
};

void ExpectLoad(const ScratchDir& dir, const LoadCase& c) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.Write("case.aco", c.file);
    SwatchTable table;
    table.SetFileName(path.c_str());
    EXPECT_EQ(table.Load(), c.loads);
    EXPECT_EQ(table.GetStatus(), c.status);
    EXPECT_EQ(table.IsLoaded(), c.loads);
    EXPECT_EQ(RecordsOf(table), c.loads ? c.records : "");
}

TEST(SwatchLoad, PlainFilesGiveTheOutcomeOfTheirShape) {
    const std::string three = ThreeRecords();
    const std::vector<LoadCase> cases = {
        {"empty file", "", false, SWATCH_E_READ, ""},
        {"one byte", "\x01", false, SWATCH_E_READ, ""},
        {"three bytes", std::string("\x00\x01\x00", 3), false, SWATCH_E_READ, ""},
        {"count 0", AcoBuilder().Header(1, 0).Data(), false, SWATCH_E_COUNT, ""},
        {"count 0 before records", AcoBuilder().Header(1, 0).Append(three).Data(), false,
         SWATCH_E_COUNT, ""},
        {"header only, count 3", AcoBuilder().Header(1, 3).Data(), true,
         SWATCH_E_COUNT | SWATCH_E_READ, ""},
        {"count 3 and 37 bytes", AcoBuilder().Header(1, 3).Append(three).Bytes(7).Data(), true, 0,
         three},
        {"ten records fill one chunk", AcoBuilder().Header(1, 10).Append(Records(10)).Data(), true,
         0, Records(10)},
        {"25 records in three chunks", AcoBuilder().Header(1, 25).Append(Records(25)).Data(), true,
         0, Records(25)},
        {"fewer records than the count", AcoBuilder().Header(1, 5).Append(three).Bytes(9).Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, three},
        {"one short of a full chunk", AcoBuilder().Header(1, 10).Append(Records(9)).Data(), true,
         SWATCH_E_COUNT | SWATCH_E_READ, Records(9)},
        {"more records than the count", AcoBuilder().Header(1, 2).Append(three).Data(), true, 0,
         three.substr(0, 20)},
        {"more records than the count, past a chunk",
         AcoBuilder().Header(1, 12).Append(Records(30)).Data(), true, 0, Records(12)},
        {"largest count", AcoBuilder().Header(1, 65535).Append(Records(65535)).Data(), true, 0,
         Records(65535)},
    };
    ScratchDir dir;
    for (const LoadCase& c : cases) {
        ExpectLoad(dir, c);
    }
}

TEST(SwatchLoad, OnlyFlaggedColourSpacesWarn) {
    ScratchDir dir;
    for (std::uint16_t space : {1, 2, 9, 4095, 4097, 65535}) {
        const std::string records = AcoBuilder().Rgb(1, 2, 3).Record(space, 1, 2, 3, 4).Data();
        ExpectLoad(dir, {"quiet colour space", AcoBuilder().Header(1, 2).Append(records).Data(),
                         true, 0, records});
    }
    for (std::uint16_t space : {3, 4, 5, 6, 7, 8, 4096}) {
        const std::string records = AcoBuilder().Rgb(1, 2, 3).Record(space, 1, 2, 3, 4).Data();
        ExpectLoad(dir, {"flagged colour space", AcoBuilder().Header(1, 2).Append(records).Data(),
                         true, SWATCH_E_UNSUPPORTED | SWATCH_E_READ, records});
        ExpectLoad(dir, {"flagged colour space and too few records",
                         AcoBuilder().Header(1, 3).Append(records).Data(), true,
                         SWATCH_E_UNSUPPORTED | SWATCH_E_COUNT | SWATCH_E_READ, records});
        ExpectLoad(dir, {"flagged colour space past the count",
                         AcoBuilder().Header(1, 1).Append(records).Data(), true, 0,
                         records.substr(0, 10)});
    }
}

TEST(SwatchLoad, EveryVersionButTwoReadsAsPlainRecords) {
    ScratchDir dir;
    for (std::uint16_t version : {0, 1, 3, 0x0200, 0xFFFF}) {
        ExpectLoad(dir, {"version", AcoBuilder().Header(version, 3).Append(ThreeRecords()).Data(),
                         true, 0, ThreeRecords()});
    }
}

TEST(SwatchLoad, VersionTwoRecordsHaveTheirNamesSkipped) {
    const std::string three = ThreeRecords();
    auto record = [&three](int i) { return three.substr(i * 10, 10); };
    const std::string flagged = AcoBuilder().Record(7, 1, 2, 3, 4).Data();
    const std::vector<LoadCase> cases = {
        {"short and empty names",
         AcoBuilder()
             .Header(2, 3)
             .Append(record(0))
             .Name(1)
             .Append(record(1))
             .Name(0)
             .Append(record(2))
             .Name(5)
             .Data(),
         true, 0, three},
        // 16-byte records fall across chunk boundaries; the long name spans several chunks.
        {"names across chunks",
         AcoBuilder()
             .Header(2, 4)
             .Append(record(0))
             .Name(1)
             .Append(record(1))
             .Name(1)
             .Append(record(2))
             .Name(300)
             .Append(record(0))
             .Name(1)
             .Data(),
         true, 0, three + record(0)},
        {"last name cut short",
         AcoBuilder()
             .Header(2, 3)
             .Append(record(0))
             .Name(2)
             .Append(record(1))
             .Name(2)
             .Append(record(2))
             .NameLength(3)
             .Bytes(4)
             .Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, three.substr(0, 20)},
        {"name length cut short",
         AcoBuilder().Header(2, 2).Append(record(0)).Name(2).Append(record(1)).Bytes(3).Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, record(0)},
        {"record cut short",
         AcoBuilder().Header(2, 2).Append(record(0)).Name(2).Append(record(1).substr(0, 9)).Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, record(0)},
        {"largest name length at the end",
         AcoBuilder()
             .Header(2, 2)
             .Append(record(0))
             .Name(2)
             .Append(record(1))
             .NameLength(0xFFFFFFFF)
             .Bytes(50)
             .Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, record(0)},
        // Twice this length overflows 32 bits.
        {"name longer than the file",
         AcoBuilder()
             .Header(2, 2)
             .Append(record(0))
             .NameLength(0x80000000)
             .Append(record(1))
             .Name(0)
             .Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, ""},
        {"flagged colour space", AcoBuilder().Header(2, 1).Append(flagged).Name(3).Data(), true,
         SWATCH_E_UNSUPPORTED | SWATCH_E_READ, flagged},
        {"flagged record whose name is cut short",
         AcoBuilder().Header(2, 2).Append(record(0)).Name(2).Append(flagged).NameLength(4).Data(),
         true, SWATCH_E_COUNT | SWATCH_E_READ, record(0)},
        {"more named records than the count",
         AcoBuilder()
             .Header(2, 2)
             .Append(record(0))
             .Name(4)
             .Append(record(1))
             .Name(4)
             .Append(flagged)
             .Name(4)
             .Bytes(33)
             .Data(),
         true, 0, three.substr(0, 20)},
        // What image editors save: plain records, then the same colours again with names.
        {"plain section followed by a named one",
         AcoBuilder()
             .Header(1, 3)
             .Append(three)
             .Header(2, 3)
             .Append(record(0))
             .Name(7)
             .Append(record(1))
             .Name(7)
             .Append(record(2))
             .Name(7)
             .Data(),
         true, 0, three},
    };
    ScratchDir dir;
    for (const LoadCase& c : cases) {
        ExpectLoad(dir, c);
    }
}

TEST(SwatchLoad, EntriesHoldTheRecordAsStored) {
    ScratchDir dir;
    const std::string path = dir.Write(
        "raw.aco", AcoBuilder().Header(1, 1).Record(0x1234, 0x0102, 0x0304, 0x0506, 0x0708).Data());
    SwatchTable table;
    table.SetFileName(path.c_str());
    ASSERT_TRUE(table.Load());
    const SwatchEntry* entry = nullptr;
    ASSERT_TRUE(table.GetFirstEntry(&entry));
    EXPECT_EQ(entry->colourSpace, 0x1234);
    const std::uint8_t expected[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(std::memcmp(entry->components, expected, sizeof expected), 0);
}

class SwatchReload : public ::testing::Test {
  protected:
    void LoadFile(const std::string& bytes, bool expected) {
        path_ = dir_.Write("file.aco", bytes);
        table_.SetFileName(path_.c_str());
        ASSERT_EQ(table_.Load(), expected);
    }

    ScratchDir dir_;
    std::string path_;
    SwatchTable table_;
};

TEST_F(SwatchReload, ASecondLoadReplacesEveryEntry) {
    LoadFile(AcoBuilder().Header(1, 3).Append(ThreeRecords()).Data(), true);
    const std::string two = Records(2, 100);
    LoadFile(AcoBuilder().Header(1, 2).Append(two).Data(), true);
    EXPECT_EQ(RecordsOf(table_), two);
    EXPECT_EQ(table_.GetStatus(), 0u);

    LoadFile(AcoBuilder().Header(1, 40).Append(Records(30)).Data(), true);
    EXPECT_EQ(RecordsOf(table_), Records(30));
    EXPECT_EQ(table_.GetStatus(), SWATCH_E_COUNT | SWATCH_E_READ);
}

TEST_F(SwatchReload, AFailedLoadKeepsThePreviousTable) {
    LoadFile(AcoBuilder().Header(1, 3).Append(ThreeRecords()).Bytes(1).Data(), true);
    const std::string missing = (dir_.Path() / "missing.aco").string();
    struct Failure {
        const char* what;
        const char* path;  // null: write `bytes` to the usual file
        std::string bytes;
        LoadStatus status;
    };
    const std::vector<Failure> failures = {
        {"empty file", nullptr, "", SWATCH_E_READ},
        {"two bytes", nullptr, "\x01\x02", SWATCH_E_READ},
        {"count 0", nullptr, AcoBuilder().Header(1, 0).Append(Records(4)).Data(), SWATCH_E_COUNT},
        {"missing file", missing.c_str(), "", SWATCH_E_READ | 2},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        const std::string path = f.path != nullptr ? f.path : dir_.Write("failing.aco", f.bytes);
        table_.SetFileName(path.c_str());
        EXPECT_FALSE(table_.Load());
        EXPECT_EQ(table_.GetStatus(), f.status);
        EXPECT_TRUE(table_.IsLoaded());
        EXPECT_EQ(RecordsOf(table_), ThreeRecords());
    }
}

TEST_F(SwatchReload, WithoutAFileNameNothingButTheStatusChanges) {
    SwatchTable fresh;
    EXPECT_FALSE(fresh.Load());
    EXPECT_EQ(fresh.GetStatus(), 0u);
    EXPECT_FALSE(fresh.IsLoaded());

    LoadFile(AcoBuilder().Header(1, 4).Append(ThreeRecords()).Data(), true);
    ASSERT_NE(table_.GetStatus(), 0u);
    EXPECT_TRUE(table_.SetFileName(nullptr));
    EXPECT_FALSE(table_.Load());
    EXPECT_EQ(table_.GetStatus(), 0u);
    EXPECT_TRUE(table_.IsLoaded());
    EXPECT_EQ(RecordsOf(table_), ThreeRecords());
}

TEST_F(SwatchReload, TheNameIsReadAtEveryLoadFromTheCallersBuffer) {
    const std::string first =
        dir_.Write("first.aco", AcoBuilder().Header(1, 1).Rgb(1, 1, 1).Data());
    const std::string second =
        dir_.Write("second.aco", AcoBuilder().Header(1, 1).Rgb(2, 2, 2).Data());
    char buffer[512] = {};
    std::strncpy(buffer, first.c_str(), sizeof buffer - 1);
    ASSERT_TRUE(table_.SetFileName(buffer));
    ASSERT_TRUE(table_.Load());
    std::strncpy(buffer, second.c_str(), sizeof buffer - 1);
    ASSERT_TRUE(table_.Load());
    EXPECT_EQ(RecordsOf(table_), AcoBuilder().Rgb(2, 2, 2).Data());
}

TEST(SwatchOpen, FailedOpensCarryTheSystemErrorCode) {
    ScratchDir dir;
    const std::string file = dir.Write("plain.aco", AcoBuilder().Header(1, 1).Rgb(1, 2, 3).Data());
    const std::string missingFile = (dir.Path() / "missing.aco").string();
    const std::string throughAFile = (std::filesystem::path(file) / "inner.aco").string();
    const std::string directory = dir.Path().string();
    struct OpenCase {
        const char* what;
        const std::string& path;
        LoadStatus status;
    };
    const std::vector<OpenCase> cases = {
        {"missing file", missingFile, 0xE000000A},
        {"a file where a directory should be", throughAFile, 0xE000000B},
        {"a directory", directory, 0xE000000D},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.what);
        SwatchTable table;
        table.SetFileName(c.path.c_str());
        EXPECT_FALSE(table.Load());
        EXPECT_EQ(table.GetStatus(), c.status);
        EXPECT_FALSE(table.IsLoaded());
    }
}

#ifdef _WIN32
// Nobody else holds the file: an exclusive open succeeds.
bool FileIsClosed(const std::string& path) {
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

TEST(SwatchOpen, LoadsAFileAnotherProgramIsWriting) {
    ScratchDir dir;
    const std::string path = dir.Write("busy.aco", AcoBuilder().Header(1, 1).Rgb(1, 2, 3).Data());
    const HANDLE writer =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SwatchTable table;
    table.SetFileName(path.c_str());
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.GetStatus(), 0u);
    CloseHandle(writer);
}

// Serves a named pipe to one reader: writes the bytes, waits until they are read, then
// disconnects, so that the reader's next read fails as no file on disk can be made to.
struct OneShotPipe {
    HANDLE pipe;
    std::string bytes;
};

DWORD WINAPI ServeAndDisconnect(void* param) {
    auto* server = static_cast<OneShotPipe*>(param);
    if (!ConnectNamedPipe(server->pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
        return 1;
    }
    DWORD written = 0;
    if (!server->bytes.empty()) {
        WriteFile(server->pipe, server->bytes.data(), static_cast<DWORD>(server->bytes.size()),
                  &written, nullptr);
    }
    FlushFileBuffers(server->pipe);
    DisconnectNamedPipe(server->pipe);
    return 0;
}

TEST(SwatchOpen, AFailedReadEndsTheLoad) {
    const std::string chunk = AcoBuilder().Record(7, 1, 2, 3).Append(Records(9)).Data();
    const std::vector<LoadCase> cases = {
        {"header read fails", "", false, SWATCH_E_READ, ""},
        // The failed read outranks the flagged colour space of the first chunk.
        {"chunk read fails", AcoBuilder().Header(1, 30).Append(chunk).Data(), true,
         SWATCH_E_COUNT | SWATCH_E_READ, chunk},
        {"count reached before the failure", AcoBuilder().Header(1, 10).Append(chunk).Data(), true,
         SWATCH_E_UNSUPPORTED | SWATCH_E_READ, chunk},
    };
    const char* name = "\\\\.\\pipe\\tintwell-swatch-test";
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        OneShotPipe server = {
            CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096,
                             0, nullptr),
            c.file};
        ASSERT_NE(server.pipe, INVALID_HANDLE_VALUE);
        const HANDLE thread = CreateThread(nullptr, 0, ServeAndDisconnect, &server, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        SwatchTable table;
        table.SetFileName(name);
        EXPECT_EQ(table.Load(), c.loads);
        EXPECT_EQ(table.GetStatus(), c.status);
        EXPECT_EQ(RecordsOf(table), c.records);
        EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
        CloseHandle(thread);
        CloseHandle(server.pipe);
    }
}
#else
std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for (const auto& item : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)item;
        ++count;
    }
    return count;
}
#endif

TEST(SwatchOpen, EveryLoadClosesItsFile) {
    ScratchDir dir;
    const std::vector<std::string> files = {
        AcoBuilder().Header(1, 2).Append(ThreeRecords()).Data(),
        AcoBuilder().Header(1, 4).Append(ThreeRecords()).Data(),
        "",
        AcoBuilder().Header(1, 0).Data(),
    };
    for (const std::string& bytes : files) {
        const std::string path = dir.Write("closed.aco", bytes);
        SwatchTable table;
        table.SetFileName(path.c_str());
#ifdef _WIN32
        table.Load();
        EXPECT_TRUE(FileIsClosed(path)) << bytes.size() << " bytes";
#else
        const std::size_t before = OpenDescriptors();
        table.Load();
        EXPECT_EQ(OpenDescriptors(), before) << bytes.size() << " bytes";
#endif
    }
}

}  // namespace
