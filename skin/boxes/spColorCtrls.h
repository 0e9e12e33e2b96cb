// The colour model and the small colour controls of the colour dialog. The
// arithmetic is portable (ColorMath.h); the controls are Winelib only.
#pragma once

#include "skin/boxes/ColorMath.h"

#if defined(_WIN32)
#include "skin/boxes/win/ColorGrids.h"
#endif
