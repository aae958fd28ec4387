// Choosing and loading the swatch file: interactively through the open-file dialog, or at
// start-up from the command line, before any dialog exists.
#ifndef TINTWELL_SWATCH_FILE_SELECTION_H
#define TINTWELL_SWATCH_FILE_SELECTION_H

#include "swatch/swatch_table.h"

int SelectSwatchFile(bool interactive);
// Started without a path: loads the remembered file without a word; if it no longer loads, the
// run starts with no file.
void OpenLastSwatchFile();

// The message box text for a load that returned false with `status`.
const char* LoadFailureText(LoadStatus status);

#endif
