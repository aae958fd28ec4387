// Background brushes for the coloured statics of one main dialog. The system never deletes a
// brush returned for WM_CTLCOLORSTATIC, so the dialog keeps one per slot and replaces it only
// when the slot's colour changes: repainting never adds brushes.
#ifndef TINTWELL_COLOUR_BRUSHES_H
#define TINTWELL_COLOUR_BRUSHES_H

#include <windows.h>

#include "app/unique_handle.h"

class ColourBrushes {
  public:
    enum Slot { RedChip, GreenChip, BlueChip, UserSample, MatchSample, SlotCount };

    HBRUSH Get(Slot slot, COLORREF colour);
    int LiveCount() const;

  private:
    UniqueBrush brushes[SlotCount];
    COLORREF colours[SlotCount]{};
};

#endif
