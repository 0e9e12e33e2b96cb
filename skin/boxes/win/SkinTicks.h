// The one clock of the skinned boxes (type-ahead, autocompletion, fades):
// GetTickCount unless a test replaces it. Winelib only.
#pragma once

#include "rtl/System.h"

using TspTickSource = Cardinal (*)();

// The current tick in milliseconds (wraps at 2^32: compare differences
// unsigned).
Cardinal spTickCount();
// nullptr restores GetTickCount.
void SetSkinTickSource(TspTickSource Source);
