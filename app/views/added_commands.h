// Commands the program adds at run time to the Options menu of the Normal view and to the tray
// popup of the Compact view, above the separator before "&About". The menu resource stays as it
// ships; each added command is one entry of the table in added_commands.cpp.
#ifndef TINTWELL_ADDED_COMMANDS_H
#define TINTWELL_ADDED_COMMANDS_H

#include <windows.h>

// `menu` is a menu bar or loaded menu whose first popup holds "&About".
void InsertAddedCommands(HMENU menu);
// Sets the check marks and texts of the added commands to what the run now holds.
void UpdateAddedCommands(HMENU menu);

#endif
