// The skinned controls: the control bases, push and menu buttons, speed and
// menu speed buttons, check and radio boxes, panels, the bevel and the
// standard label, the two menus the buttons drop down, the scroll bar, the
// track bar, the slider, the splitters, the status bar and the up-down
// arrows. The arithmetic is portable (SkinCtrlGeometry.h, SkinBarGeometry.h,
// SkinSliderGeometry.h, SkinUpDownGeometry.h); the controls are Winelib only.
#pragma once

#include "skin/controls/SkinBarGeometry.h"
#include "skin/controls/SkinCtrlGeometry.h"
#include "skin/controls/SkinSliderGeometry.h"
#include "skin/controls/SkinUpDownGeometry.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinButtons.h"
#include "skin/controls/win/SkinCheckRadio.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinMenus.h"
#include "skin/controls/win/SkinPanel.h"
#include "skin/controls/win/SkinScrollBar.h"
#include "skin/controls/win/SkinSlider.h"
#include "skin/controls/win/SkinSplitter.h"
#include "skin/controls/win/SkinStatusBar.h"
#include "skin/controls/win/SkinSpeedButtons.h"
#include "skin/controls/win/SkinStdCtrls.h"
#include "skin/controls/win/SkinTrackBar.h"
#include "skin/controls/win/SkinUpDown.h"
#endif
