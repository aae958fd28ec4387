// The tooltip over the matched sample: which swatch of the file matched, by its name and its
// place among the file's records. Names are UTF-16 in the file and go to the tooltip as such.
#ifndef TINTWELL_MATCH_TIP_H
#define TINTWELL_MATCH_TIP_H

#include <windows.h>

// Puts a tooltip over the matched sample of a new main dialog; it goes with the dialog.
void CreateMatchTip(HWND dialog);
void DestroyMatchTip();

struct Match;

// Describes `match` in the tooltip; with no match the tooltip stays away.
void ShowMatchTip(const Match& match);

#endif
