#include "app/colour/user_colour.h"

#include "app/colour/colour_display.h"
#include "app/colour/match_tip.h"
#include "app/colour/recent_colours.h"
#include "app/views/added_commands.h"

namespace {

void ShowMatch(const Match& match) {
    g_app.match = match;
    ShowMatchedColour(match.colour);
    ShowMatchTip(match);
}

Match FindMatch(COLORREF colour) {
    Match match{SWATCH_NO_COLOUR, Match::kNone};
    SwatchTable* table = g_app.swatchTable.get();
    if (table == nullptr) {
        return match;
    }
    if (g_app.matching == MatchMode::kPerceptual) {
        match.colour = table->FindPerceptualColour(colour, &match.position);
    } else {
        match.colour = table->FindClosestColour(colour, &match.position);
    }
    return match;
}

}  // namespace

void SetUserColour(COLORREF colour) {
    ShowUserColour(colour);
    ShowMatch(FindMatch(g_app.userColour));
}

int SwitchMatching() {
    g_app.matching =
        g_app.matching == MatchMode::kPerceptual ? MatchMode::kChannelSum : MatchMode::kPerceptual;
    UpdateAddedCommands(g_app.menu.get());
    ShowMatch(FindMatch(g_app.userColour));
    return 1;
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
    ShowMatchTip(g_app.match);
}
