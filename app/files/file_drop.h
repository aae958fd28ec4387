// A swatch file dropped on a main dialog, from Explorer or any other drag source.
#ifndef TINTWELL_FILE_DROP_H
#define TINTWELL_FILE_DROP_H

#include <windows.h>
#include <shellapi.h>

// WM_DROPFILES: the first file is loaded as a chosen one is; the drop is always released.
INT_PTR OnDropFiles(HDROP drop);

#endif
