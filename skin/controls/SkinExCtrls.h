// The picture-menu buttons: TspSkinGraphicButton and the pen-style picker
// TspSkinPenStyleButton. Winelib only.
#pragma once

#include "skin/controls/SkinCtrls.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinPictureButtons.h"
#endif
