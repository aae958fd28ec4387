// Every change of the user's colour ends here, whatever road it came by (typed, pasted, chosen
// in the colour dialog, picked from the screen, put back, or shown again by a new dialog): the
// colour is shown, its match found, shown, and described in the match's tooltip.
#ifndef TINTWELL_USER_COLOUR_H
#define TINTWELL_USER_COLOUR_H

#include <windows.h>

#include "app/app_state.h"

// Makes `colour` the user's colour and shows it with its closest swatch colour.
void SetUserColour(COLORREF colour);
// The same for a colour the user settled on, not one passed on the way: it joins the recent ones.
void KeepUserColour(COLORREF colour);

// Turns the other way of matching on, and matches the colour shown again with it.
int SwitchMatching();

ShownColours CurrentColours();
void RestoreColours(const ShownColours& shown);
// A new main dialog shows the colours the run holds, without matching again.
void ShowCurrentColours();

// The table now holds another file: the match shown came from the previous one, so it no longer
// names a position of the table, and the tooltip, which would name a swatch and a count of the
// previous file, goes.
void ForgetMatchPosition();

#endif
