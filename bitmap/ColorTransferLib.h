// Bitmap engine: the transfer curves of the colour balance (256 doubles per
// curve, filled at start-up): how strongly a shift acts on each level in the
// shadows, midtones and highlights, for adding and for subtracting.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

extern Double ShadowsAdd[256];
extern Double ShadowsSub[256];
extern Double MidtonesAdd[256];
extern Double MidtonesSub[256];
extern Double HighlightsAdd[256];
extern Double HighlightsSub[256];

// Fills the six curves (idempotent; registered with the engine start-up).
void InitializeColorTransfer();
