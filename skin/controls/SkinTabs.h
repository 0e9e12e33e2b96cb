// The skinned tab controls' unit: the portable arithmetic of the tab rows
// and the tree (SkinTabGeometry.h) and, in the Winelib build, the tab image
// routines, the page control's layout and the up-down arrows that scroll a
// tab row.
#pragma once

#include "skin/controls/SkinTabGeometry.h"
#include "skin/controls/SkinUpDown.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinPageControl.h"
#include "skin/controls/win/SkinTabControl.h"
#include "skin/controls/win/SkinTabImages.h"
#include "skin/controls/win/SkinTreeView.h"
#endif
