// Choosing and loading the swatch file: interactively through the open-file dialog, dropped on a
// main dialog, or at start-up from the command line, before any dialog exists.
#ifndef TINTWELL_SWATCH_FILE_SELECTION_H
#define TINTWELL_SWATCH_FILE_SELECTION_H

#include "swatch/swatch_table.h"

int SelectSwatchFile(bool interactive);
// Started without a path: loads the remembered file without a word; if it no longer loads, the
// run starts with no file.
void OpenLastSwatchFile();
// Loads the file at `path` as a chosen one is loaded; a path too long for the path buffer is
// refused with the load-failure message.
int OpenSwatchFile(const char* path);

// The message box text for a load that returned false with `status`.
const char* LoadFailureText(LoadStatus status);

#endif
