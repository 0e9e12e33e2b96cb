// The skin data of the skin engine: value syntax, descriptions, the skin
// content with its stored format, the text table and the skin messages; in
// the Winelib build also the skin model TspSkinData and the stored skin
// component.
#pragma once

#include "skin/data/SkinContent.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinResStr.h"
#include "skin/data/StoredSkin.h"

#if defined(_WIN32)
#include "skin/data/win/SkinModel.h"
#endif
