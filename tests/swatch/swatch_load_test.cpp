#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "swatch/swatch_table.h"
#include "tests/swatch/swatch_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr LoadStatus kShort = SWATCH_E_COUNT | SWATCH_E_READ;
constexpr LoadStatus kFlagged = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;

const std::string r0 = Rgb(1, 2, 3), r1 = Rgb(4, 5, 6), r2 = Rgb(7, 8, 9), three = r0 + r1 + r2;
const std::string lab = Record(7, 1, 2, 3, 4);

struct LoadCase {
    const char* what;
    std::string file;
    bool loads;
    LoadStatus status;
    std::string records;  // what the table holds afterwards
};

void ExpectLoads(const std::vector<LoadCase>& cases) {
    ScratchDir dir;
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.Write("case.aco", c.file);
        SwatchTable table;
        table.SetFileName(path.c_str());
        EXPECT_EQ(table.Load(), c.loads);
        EXPECT_EQ(table.GetStatus(), c.status);
        EXPECT_EQ(table.IsLoaded(), c.loads);
        EXPECT_EQ(RecordsOf(table), c.records);
    }
}

TEST(SwatchLoad, PlainFilesGiveTheOutcomeOfTheirShape) {
    ExpectLoads({
        {"empty file", "", false, SWATCH_E_READ, ""},
        {"three bytes", std::string("\0\1\0", 3), false, SWATCH_E_READ, ""},
        {"count 0", Header(1, 0) + three, false, SWATCH_E_COUNT, ""},
        {"header only", Header(1, 3), true, kShort, ""},
        {"partial record after the count", Header(1, 3) + three + "1234567", true, 0, three},
        {"ten records", Header(1, 10) + Records(10), true, 0, Records(10)},
        {"25 records", Header(1, 25) + Records(25), true, 0, Records(25)},
        {"one short of a chunk", Header(1, 10) + Records(9), true, kShort, Records(9)},
        {"too few records", Header(1, 5) + three + "123456789", true, kShort, three},
        {"more records than the count", Header(1, 12) + Records(30), true, 0, Records(12)},
        {"largest count", Header(1, 65535) + Records(65535), true, 0, Records(65535)},
        {"flagged colour space", Header(1, 2) + r0 + lab, true, kFlagged, r0 + lab},
        {"flagged and too few", Header(1, 3) + r0 + lab, true, kFlagged | kShort, r0 + lab},
        {"flagged past the count", Header(1, 1) + r0 + lab, true, 0, r0},
        {"version 0", Header(0, 3) + three, true, 0, three},
        {"version bytes 02 00", Header(0x0200, 3) + three, true, 0, three},
        {"version 0xFFFF", Header(0xFFFF, 3) + three, true, 0, three},
    });
}

TEST(SwatchLoad, OnlyFlaggedColourSpacesWarn) {
    std::vector<LoadCase> cases;
    for (std::uint16_t space : {1, 2, 9, 4095, 4097, 65535}) {
        const std::string record = Record(space, 1, 2, 3, 4);
        cases.push_back({"quiet", Header(1, 1) + record, true, 0, record});
    }
    for (std::uint16_t space : {3, 4, 5, 6, 7, 8, 4096}) {
        const std::string record = Record(space, 1, 2, 3, 4);
        cases.push_back({"flagged", Header(1, 1) + record, true, kFlagged, record});
    }
    ExpectLoads(cases);
}

TEST(SwatchLoad, VersionTwoFilesHaveTheirNamesSkipped) {
    ExpectLoads({
        {"short and empty names", Header(2, 3) + r0 + Name(1) + r1 + Name(0) + r2 + Name(5), true,
         0, three},
        // Sixteen-byte records straddle chunks; the long name spans several.
        {"names across chunks",
         Header(2, 4) + r0 + Name(1) + r1 + Name(1) + r2 + Name(300) + r0 + Name(1), true, 0,
         three + r0},
        {"last name cut short", Header(2, 2) + r0 + Name(2) + r1 + Name(3, 2), true, kShort, r0},
        {"name length cut short", Header(2, 2) + r0 + Name(2) + r1 + std::string(3, '\0'), true,
         kShort, r0},
        {"record cut short", Header(2, 2) + r0 + Name(2) + r1.substr(0, 9), true, kShort, r0},
        {"largest name length", Header(2, 1) + r0 + Name(0xFFFFFFFF, 30), true, kShort, ""},
        // Twice this length overflows 32 bits.
        {"name longer than the file", Header(2, 2) + r0 + Name(0x80000000, 0) + r1 + Name(0), true,
         kShort, ""},
        {"flagged colour space", Header(2, 1) + lab + Name(3), true, kFlagged, lab},
        {"flagged record with its name cut short", Header(2, 2) + r0 + Name(2) + lab + Name(4, 1),
         true, kShort, r0},
        {"more records than the count",
         Header(2, 2) + r0 + Name(4) + r1 + Name(4) + lab + Name(4) + "junk", true, 0, r0 + r1},
        // What image editors save: plain records, then the same colours again with names.
        {"plain section, then a named one",
         Header(1, 3) + three + Header(2, 3) + r0 + Name(7) + r1 + Name(7) + r2 + Name(7), true, 0,
         three},
    });
}

class SwatchReload : public ::testing::Test {
  protected:
    bool LoadFile(const std::string& bytes) {
        path_ = dir_.Write("file.aco", bytes);
        table_.SetFileName(path_.c_str());
        return table_.Load();
    }

    ScratchDir dir_;
    std::string path_;
    SwatchTable table_;
};

TEST_F(SwatchReload, ASecondLoadReplacesEveryEntry) {
    ASSERT_TRUE(LoadFile(Header(1, 3) + three));
    ASSERT_TRUE(LoadFile(Header(1, 2) + Records(2)));
    EXPECT_EQ(RecordsOf(table_), Records(2));
    ASSERT_TRUE(LoadFile(Header(1, 40) + Records(30)));
    EXPECT_EQ(RecordsOf(table_), Records(30));
    EXPECT_EQ(table_.GetStatus(), kShort);
}

TEST_F(SwatchReload, AFailedLoadChangesOnlyTheStatus) {
    ASSERT_TRUE(LoadFile(Header(1, 4) + three));
    const std::string missing = dir_.PathOf("missing.aco");
    const std::vector<std::string> failing = {"", "12", Header(1, 0) + three};
    const LoadStatus statuses[] = {SWATCH_E_READ, SWATCH_E_READ, SWATCH_E_COUNT};
    for (std::size_t i = 0; i < failing.size(); ++i) {
        EXPECT_FALSE(LoadFile(failing[i]));
        EXPECT_EQ(table_.GetStatus(), statuses[i]);
    }
    table_.SetFileName(missing.c_str());
    EXPECT_FALSE(table_.Load());
    EXPECT_EQ(table_.GetStatus(), SWATCH_E_READ | 2);
    EXPECT_TRUE(table_.SetFileName(nullptr));
    EXPECT_FALSE(table_.Load());
    EXPECT_EQ(table_.GetStatus(), 0u);
    EXPECT_TRUE(table_.IsLoaded());
    EXPECT_EQ(RecordsOf(table_), three);

    SwatchTable fresh;
    EXPECT_FALSE(fresh.Load());
    EXPECT_EQ(fresh.GetStatus(), 0u);
}

TEST(SwatchOpen, FailedOpensCarryTheSystemErrorCode) {
    ScratchDir dir;
    const std::string file = dir.Write("plain.aco", Header(1, 1) + r0);
    const struct {
        std::string path;
        LoadStatus status;
    } cases[] = {
        {dir.PathOf("missing.aco"), 0xE000000A},
        {(std::filesystem::path(file) / "inner.aco").string(), 0xE000000B},
        {std::filesystem::path(file).parent_path().string(), 0xE000000D},
    };
    for (const auto& c : cases) {
        SwatchTable table;
        table.SetFileName(c.path.c_str());
        EXPECT_FALSE(table.Load()) << c.path;
        EXPECT_EQ(table.GetStatus(), c.status) << c.path;
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
#else
bool FileIsClosed(const std::string& path) {
    for (const auto& link : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        if (std::filesystem::read_symlink(link.path(), ignored) == path) {
            return false;
        }
    }
    return true;
}
#endif

TEST(SwatchOpen, EveryLoadClosesItsFile) {
    ScratchDir dir;
    for (const std::string& bytes :
         {Header(1, 3) + three, Header(1, 4) + three, std::string(), Header(1, 0)}) {
        const std::string path = dir.Write("closed.aco", bytes);
        SwatchTable table;
        table.SetFileName(path.c_str());
        table.Load();
        EXPECT_TRUE(FileIsClosed(path)) << bytes.size() << " bytes";
    }
}

#ifdef _WIN32
TEST(SwatchOpen, LoadsAFileAnotherProgramIsWriting) {
    ScratchDir dir;
    const std::string path = dir.Write("busy.aco", Header(1, 1) + r0);
    const HANDLE writer =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SwatchTable table;
    table.SetFileName(path.c_str());
    EXPECT_TRUE(table.Load());
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
    const std::string chunk = lab + Records(9);
    const std::vector<LoadCase> cases = {
        {"header read fails", "", false, SWATCH_E_READ, ""},
        // The failed read outranks the flagged colour space of the first chunk.
        {"chunk read fails", Header(1, 30) + chunk, true, kShort, chunk},
        {"count reached first", Header(1, 10) + chunk, true, kFlagged, chunk},
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
#endif

}  // namespace
