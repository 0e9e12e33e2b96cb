// The skinned hint window and the hint component. The size and placement
// arithmetic is portable (SkinHintGeometry.h); the window is Winelib only.
#pragma once

#include "skin/controls/SkinHintGeometry.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinHint.h"
#endif
