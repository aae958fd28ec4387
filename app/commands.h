// The commands of the main dialog's buttons, edits and menus, whichever view sent them.
#ifndef TINTWELL_COMMANDS_H
#define TINTWELL_COMMANDS_H

#include <windows.h>

// WM_COMMAND's notification code and control or menu id.
int OnCommand(WORD notification, WORD id);

#endif
