// Where a pop-up opened under a control goes: below it, kept inside the
// work area across (right edge first, then left), and above the control
// when it would pass the bottom. Portable: no Windows header.
#pragma once

#include "rtl/System.h"

// Anchor: the pop-up's wanted top-left corner on the control's top edge
// (screen coordinates); ControlHeight: the control's height; W, H: the
// pop-up's size.
TPoint PlacePopupBelow(const TPoint& Anchor, Integer ControlHeight, Integer W, Integer H, const TRect& WorkArea);
