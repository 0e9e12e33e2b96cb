// The skinned up-down arrows: the portable button arithmetic and, in the
// Winelib build, the control TspSkinUpDown.
#pragma once

#include "skin/controls/SkinUpDownGeometry.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinUpDown.h"
#endif
