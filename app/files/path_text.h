// File names reach the program as UTF-16 (the command line, the open-file dialog, a dropped file)
// and are kept as narrow text in the process code page, which the manifest makes UTF-8. Where
// that setting is not in force (Windows before 10 version 1903), Windows would put a look-alike
// (O for Omega) or '?' in place of a character the code page lacks, naming another file or none:
// such a name is refused instead, never swapped.
#ifndef TINTWELL_PATH_TEXT_H
#define TINTWELL_PATH_TEXT_H

#include <windows.h>

// Writes `path` into `out` (`outSize` bytes) in `codePage`; false when it does not fit or does
// not read back as exactly `path`. Every way a name comes in as UTF-16 goes through here.
bool NarrowPathExactly(const wchar_t* path, char* out, int outSize, UINT codePage = CP_ACP);

// Whether `narrow`, read in `codePage`, is exactly the end of `wide`: the check of a narrow
// command line that Windows converted from the wide one.
bool IsExactTail(const char* narrow, const wchar_t* wide, UINT codePage = CP_ACP);

// The message box for a name that cannot be carried exactly; the previous file stays.
void ReportRefusedPath();

#endif
