// The skinned edits: the edit base TspCustomEdit with the numeric inner edit
// TspSkinNumEdit, the framed edit TspSkinCustomEdit / TspSkinEdit, the spin
// edit TspSkinSpinEdit, and the numeric and track edits TspSkinNumericEdit,
// TspSkinTrackEdit with the track edit's pop-up TspSkinPopupTrackBar. The
// number arithmetic is portable (NumText.h); the controls are Winelib only.
#pragma once

#include "skin/boxes/NumText.h"
#include "skin/boxes/PopupPlace.h"

#if defined(_WIN32)
#include "skin/boxes/win/SkinEdit.h"
#include "skin/boxes/win/SkinSpinEdit.h"
#include "skin/boxes/win/SkinTrackEdit.h"
#include "skin/boxes/win/SkinTicks.h"
#endif
