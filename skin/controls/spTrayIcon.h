// The notification-area icon TspTrayIcon. The click timing is portable
// (SkinTrayClicks.h); the component is Winelib only.
#pragma once

#include "skin/controls/SkinTrayClicks.h"

#if defined(_WIN32)
#include "skin/controls/win/SkinTrayIcon.h"
#endif
