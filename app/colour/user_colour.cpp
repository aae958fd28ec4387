#include "app/colour/user_colour.h"

#include "app/colour/colour_display.h"
#include "app/colour/match_tip.h"
#include "app/colour/recent_colours.h"

namespace {

void ShowMatch(const Match& match) {
    g_app.match = match;
    ShowMatchedColour(match.colour);
    ShowMatchTip(match);
}

}  // namespace

void SetUserColour(COLORREF colour) {
    ShowUserColour(colour);
    Match match{SWATCH_NO_COLOUR, 0};
    if (g_app.swatchTable) {
        match.colour = g_app.swatchTable->FindClosestColour(g_app.userColour, &match.position);
    }
    ShowMatch(match);
}

void KeepUserColour(COLORREF colour) {
    SetUserColour(colour);
    RememberColour(g_app.userColour);
}

ShownColours CurrentColours() {
    return {g_app.userColour, g_app.match};
}

void RestoreColours(const ShownColours& shown) {
    ShowUserColour(shown.user);
    ShowMatch(shown.match);
}

void ShowCurrentColours() {
    ShowMatch(g_app.match);
    ShowUserColour(g_app.userColour);
}

void ForgetMatchPosition() {
    g_app.match.position = Match::kNone;
}
