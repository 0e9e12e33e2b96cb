// The skinned colour dialog and the colour button that opens it. Winelib
// only.
#pragma once

#include "skin/boxes/spColorCtrls.h"

#if defined(_WIN32)
#include "skin/form/win/SkinColorDialog.h"
#endif

#if defined(_WIN32)
#include "skin/form/win/SkinColorBtn.h"
#endif
