#include "app/colour/colour_brushes.h"

HBRUSH ColourBrushes::Get(Slot slot, COLORREF colour) {
    if (!brushes[slot] || colours[slot] != colour) {
        brushes[slot].reset(CreateSolidBrush(colour));
        colours[slot] = colour;
    }
    return brushes[slot].get();
}

int ColourBrushes::LiveCount() const {
    int live = 0;
    for (const UniqueBrush& brush : brushes) {
        live += brush ? 1 : 0;
    }
    return live;
}
