// Shared set-up for tests of the application code: a fresh state record with a swatch table, and
// the program's own settings key saved, removed and put back around each test.
#ifndef TINTWELL_TESTS_APP_FIXTURE_H
#define TINTWELL_TESTS_APP_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"

using Bytes = std::vector<BYTE>;

// A value of the program's key, as stored; empty when missing.
Bytes ReadProgramValue(const char* name);
void WriteProgramValue(const char* name, DWORD type, const Bytes& data);
bool ProgramKeyExists();

// Removes the program's key so that a test starts as a first run, and puts back what was there.
class ProgramKeyGuard {
  public:
    ProgramKeyGuard();
    ~ProgramKeyGuard();

  private:
    Bytes saved[3];
    bool existed;
};

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the dialog of `view` as the program does, and after a switch the next one, and runs
    // `script` inside their loops.
    INT_PTR RunDialog(ViewMode view, class UiScript& script);

    ProgramKeyGuard keyGuard;
};

#endif
