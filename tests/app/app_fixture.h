// Shared set-up for tests of the application code: a clean state record, the program's settings
// key saved and restored around each test, and swatch files written on demand.
#ifndef TINTWELL_TESTS_APP_FIXTURE_H
#define TINTWELL_TESTS_APP_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"

// Saves the values of the program's own key and removes the key, so that a test starts from a
// first run; puts everything back afterwards.
class ProgramKeyGuard {
public:
    ProgramKeyGuard();
    ~ProgramKeyGuard();

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    bool existed = false;
    std::vector<Value> saved;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes an RGB swatch file of the given colours and returns its path.
    std::string WriteSwatchFile(const std::vector<COLORREF>& colours, const char* name = "t.aco");
    // Loads a swatch file into the state's table, as the command line would.
    void LoadSwatchFile(const std::string& path);

    ProgramKeyGuard keyGuard;
    std::vector<std::string> files;
};

// Reads a REG_BINARY (or other) value of the program's key; empty when missing.
std::vector<BYTE> ReadProgramValue(const char* name, DWORD* type = nullptr);
// Creates the program's key with the given raw values.
void WriteProgramValue(const char* name, DWORD type, const std::vector<BYTE>& data);
bool ProgramKeyExists();

// The texts a main dialog shows for one colour: red, green, blue, hex.
std::vector<std::string> ShownUserColour();
std::vector<std::string> ShownMatchedColour();

#endif
